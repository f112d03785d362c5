#include "analysis/Integrale.h"

#include "analysis/Spazzata.h"
#include "engine/NumberText.h"

namespace zelvo {

EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};

    PuntiNonDefiniti nonDefiniti;
    double somma = 0;
    spazzaFunzione(funzione, stato.estremoA, stato.estremoB, kPassoGriglia,
                   [&](double, const Valutazione &v) {
                       nonDefiniti.conta(v);
                       // Each strip is added on its own (not the samples summed, then scaled):
                       // the rounding is that of a running sum of products. A failed point
                       // reads 0 and adds nothing.
                       const double striscia = v.valore * kPassoGriglia;
                       somma += striscia;
                   });

    std::string avviso = stato.estremoA > stato.estremoB ? kNessunCampione : nonDefiniti.testo();
    return {numberToText(somma, separatoreDecimale), std::move(avviso)};
}

} // namespace zelvo
