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
    // a = b: no piece, the point itself, a root where f is 0 there.
    const bool unPunto = stato.estremoA == stato.estremoB && s.nonDefinita.empty();
    if (s.pezzi.empty() && !unPunto)
        return {kNonDefinita, std::move(avvisi)};
    if (s.zeri.empty())
        return {"nessuna radice", std::move(avvisi), true};
    stato.xTrovato = s.zeri.back();
    return {testoNumero(stato.xTrovato, separatoreDecimale), std::move(avvisi), true};
}

} // namespace zelvo
