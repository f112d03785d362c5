#pragma once

#include "analysis/Dominio.h"
#include "analysis/Infinito.h"
#include "analysis/Simmetrie.h"
#include "analysis/Studio.h"

#include <optional>
#include <vector>

namespace zelvo {

class Funzione;

// A course's study of f beyond what the study of [a, b] finds: where f is
// defined and what values it takes there, where it meets the y axis, its
// symmetry and period, and how it behaves as x runs to either infinity.
// Kept apart from Studio because the root, the extremes and the integral
// use the study too and need none of this.
struct Scuola
{
    static Infinito lato(int verso)
    {
        Infinito i;
        i.lato = verso;
        return i;
    }

    std::vector<TrattoChiuso> dominio;
    // None where a limit at the end of a piece does not exist or is unknown.
    std::optional<std::vector<TrattoChiuso>> codominio;
    std::optional<PuntoNotevole> intersezioneY;
    // None where [a, b] holds no interval around 0.
    std::optional<Parita> parita;
    // The least period where the expression makes f periodic.
    std::optional<double> periodo;
    Infinito menoInfinito = lato(-1), piuInfinito = lato(+1);
    std::vector<Tangente> tangentiFlessi;
};

// Empty (all absent) when the study did not run.
Scuola studioScuola(Funzione &f, const Studio &studio, double a, double b);

} // namespace zelvo
