#include "analysis/Radice.h"

#include "analysis/Studio.h"
#include "engine/TestoNumero.h"
#include "plot/Spazzata.h"

namespace zelvo {

EsitoRadice cercaRadice(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};
    if (stato.estremoA > stato.estremoB)
        return {kNessunCampione, {}};
    const Studio s = studia(funzione, stato.estremoA, stato.estremoB, separatoreDecimale);
    std::string avvisi = avvisiStudio(s, separatoreDecimale);
    if (s.zeri.empty())
        return {s.pezzi.empty() ? kNonDefinita : "nessuna radice", std::move(avvisi)};
    stato.xTrovato = s.zeri.back();
    return {testoNumero(stato.xTrovato, separatoreDecimale), std::move(avvisi)};
}

} // namespace zelvo
