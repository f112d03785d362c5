#include "analysis/Estremi.h"

#include "analysis/Spazzata.h"
#include "engine/NumberText.h"

namespace zelvo {

namespace {

// One sweep for both extremes: `supera(y, precedente)` tells a passing sample.
template<class Supera>
EsitoEstremo cercaEstremo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale,
                          Supera supera)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, true, separatoreDecimale))
        return {rifiuto->breve, {}, rifiuto->stato};
    if (stato.estremoA > stato.estremoB)
        return {kNessunCampione, {}, {}};

    std::vector<double> &valoriY = stato.valoriY;
    if (valoriY.empty())
        valoriY.push_back(0);
    // The first evaluated sample is compared with valoriY[0], which is never
    // written; each later one with the last evaluated sample before it.
    double precedente = valoriY[0];
    std::size_t contatore = 0;
    PuntiNonDefiniti nonDefiniti;
    bool trovato = false;
    bool primo = true;
    double xPrimo = 0;
    double xEstremo = 0;
    spazzaFunzione(funzione, stato.estremoA, stato.estremoB, stato.passo,
                   [&](double x, const Valutazione &v) {
                       // valoriY grows with the sweep, so no accepted interval can overflow it.
                       if (++contatore < valoriY.size())
                           valoriY[contatore] = v.valore;
                       else
                           valoriY.push_back(v.valore);
                       if (!nonDefiniti.conta(v))
                           return;
                       if (primo) {
                           xPrimo = x;
                           primo = false;
                       }
                       if (supera(v.valore, precedente)) {
                           xEstremo = x;
                           trovato = true;
                       }
                       precedente = v.valore;
                   });

    if (primo) // no sample could be evaluated
        return {"f non definita", {}, nonDefiniti.testo()};
    // No sample passed: f never rises (falls) along the grid, so the first
    // evaluated sample is the highest (lowest).
    stato.xTrovato = trovato ? xEstremo : xPrimo;

    const Valutazione y = funzione.Valuta(stato.xTrovato);
    return {numberToText(stato.xTrovato, separatoreDecimale),
            y.ok() ? numberToText(y.valore, separatoreDecimale) : std::string(kNonDefinita),
            nonDefiniti.testo()};
}

} // namespace

EsitoEstremo cercaMassimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    return cercaEstremo(stato, funzione, separatoreDecimale,
                        [](double y, double precedente) { return y > precedente; });
}

EsitoEstremo cercaMinimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    return cercaEstremo(stato, funzione, separatoreDecimale,
                        [](double y, double precedente) { return y < precedente; });
}

} // namespace zelvo
