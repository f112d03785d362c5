#include "analysis/Radice.h"

#include "plot/Spazzata.h"
#include "engine/TestoNumero.h"

namespace zelvo {

namespace {

// |f(x)| below this is a root; both bounds are excluded.
constexpr double kTolleranza = 0.001;

} // namespace

EsitoRadice cercaRadice(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};
    if (stato.estremoA > stato.estremoB)
        return {kNessunCampione, {}};

    PuntiNonDefiniti nonDefiniti;
    bool trovata = false;
    double radice = 0;
    for (const BloccoSpazzata &blocco :
         SpazzataFunzione(funzione, stato.estremoA, stato.estremoB, kPassoGriglia))
        for (std::size_t i = 0; i < blocco.size(); ++i) {
            const Valutazione v = blocco[i];
            // A point where f fails is no root, even though its value reads 0.
            if (nonDefiniti.conta(blocco.x[i], v) && v.valore < kTolleranza && v.valore > -kTolleranza) {
                radice = blocco.x[i];
                trovata = true;
            }
        }

    if (!trovata)
        return {"nessuna radice", nonDefiniti.testo(separatoreDecimale)};
    stato.xTrovato = radice;
    return {testoNumero(radice, separatoreDecimale), nonDefiniti.testo(separatoreDecimale)};
}

} // namespace zelvo
