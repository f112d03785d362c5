#include "analysis/Estremi.h"

#include "engine/TestoNumero.h"
#include "plot/Spazzata.h"

#include <algorithm>
#include <cstddef>

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
    for (const BloccoSpazzata &b :
         SpazzataFunzione(funzione, stato.estremoA, stato.estremoB, stato.passo)) {
        // valoriY grows with the sweep, so no accepted interval can overflow it.
        if (valoriY.size() < contatore + b.size() + 1)
            valoriY.resize(contatore + b.size() + 1);
        std::copy(b.y.begin(), b.y.end(),
                  valoriY.begin() + static_cast<std::ptrdiff_t>(contatore + 1));
        contatore += b.size();
        // In sample order, with the running state in a local through the block.
        double p = precedente;
        for (std::size_t i = 0; i < b.size(); ++i) {
            if (!nonDefiniti.conta(b.x[i], b[i]))
                continue;
            const double y = b.y[i];
            if (primo) {
                xPrimo = b.x[i];
                primo = false;
            }
            if (supera(y, p)) {
                xEstremo = b.x[i];
                trovato = true;
            }
            p = y;
        }
        precedente = p;
    }

    if (primo) // no sample could be evaluated
        return {"f non definita", {}, nonDefiniti.testo(separatoreDecimale)};
    // No sample passed: f never rises (falls) along the grid, so the first
    // evaluated sample is the highest (lowest).
    stato.xTrovato = trovato ? xEstremo : xPrimo;

    const Valutazione y = funzione.Valuta(stato.xTrovato);
    return {testoNumero(stato.xTrovato, separatoreDecimale),
            y.ok() ? testoNumero(y.valore, separatoreDecimale) : std::string(kNonDefinita),
            nonDefiniti.testo(separatoreDecimale)};
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
