#include "analysis/Estremi.h"

#include "analysis/Studio.h"
#include "engine/TestoNumero.h"
#include "plot/Spazzata.h"

#include <cmath>
#include <optional>

namespace zelvo {

namespace {

EsitoEstremo cercaEstremo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale,
                          bool massimo)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, {}, rifiuto->stato};
    if (stato.estremoA > stato.estremoB)
        return {kNessunCampione, {}, {}};
    const Studio s = studia(funzione, stato.estremoA, stato.estremoB, separatoreDecimale);
    std::string avvisi = avvisiStudio(s, separatoreDecimale);
    const std::optional<PuntoNotevole> &p = massimo ? s.massimoAssoluto : s.minimoAssoluto;
    // a = b: no piece, the point itself, both maximum and minimum.
    const bool unPunto = stato.estremoA == stato.estremoB && s.nonDefinita.empty();
    if (s.pezzi.empty() && !unPunto)
        return {kNonDefinita, {}, std::move(avvisi)};
    const std::optional<PuntoNotevole> &e = massimo ? s.estremoSuperiore : s.estremoInferiore;
    if (!p && e && std::isfinite(e->y)) {
        // Approached, never reached: no abscissa, no value in the labels.
        return {{},
                {},
                std::string(massimo ? "sup = " : "inf = ") + testoNumero(e->y, separatoreDecimale)
                        + ", non raggiunto" + (avvisi.empty() ? "" : "; " + avvisi)};
    }
    if (!p) {
        std::string perche
                = std::string("f illimitata ") + (massimo ? "superiormente" : "inferiormente");
        if (!s.asintotiVerticali.empty())
            perche += " vicino a x = "
                    + testoNumero(s.asintotiVerticali.front(), separatoreDecimale);
        return {massimo ? "nessun massimo" : "nessun minimo",
                {},
                perche + (avvisi.empty() ? "" : "; " + avvisi)};
    }
    stato.xTrovato = p->x;
    return {testoNumero(p->x, separatoreDecimale), testoNumero(p->y, separatoreDecimale),
            std::move(avvisi), true};
}

} // namespace

EsitoEstremo cercaMassimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    return cercaEstremo(stato, funzione, separatoreDecimale, true);
}

EsitoEstremo cercaMinimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale)
{
    return cercaEstremo(stato, funzione, separatoreDecimale, false);
}

} // namespace zelvo
