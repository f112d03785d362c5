#include "analysis/Integrale.h"

#include "plot/Spazzata.h"
#include "engine/TestoNumero.h"

namespace zelvo {

EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};

    PuntiNonDefiniti nonDefiniti;
    double totale = 0;
    for (const BloccoSpazzata &blocco :
         SpazzataFunzione(funzione, stato.estremoA, stato.estremoB, kPassoGriglia)) {
        // The running sum stays in a register through each block.
        double s = totale;
        for (std::size_t i = 0; i < blocco.size(); ++i) {
            const Valutazione v = blocco[i];
            nonDefiniti.conta(blocco.x[i], v);
            // Each strip is added on its own (not the samples summed, then
            // scaled): the rounding is that of a running sum of products. A
            // failed point reads 0 and adds nothing.
            const double striscia = v.valore * kPassoGriglia;
            s += striscia;
        }
        totale = s;
    }

    std::string avviso = stato.estremoA > stato.estremoB ? kNessunCampione : nonDefiniti.testo(separatoreDecimale);
    return {testoNumero(totale, separatoreDecimale), std::move(avviso)};
}

} // namespace zelvo
