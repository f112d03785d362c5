#pragma once

#include "engine/Funzione.h"
#include "engine/Valutazione.h"

#include <array>
#include <cstddef>
#include <span>
#include <type_traits>

namespace zelvo {

// Calls visita(x, f(x)) for x = a, a + s, (a + s) + s, ... while x <= b:
// repeated addition, so rounding decides whether b itself is reached. The
// sweep also ends when an addition no longer moves x, so no step can make it
// endless, and when visita returns false.
//
// f is evaluated a block of x ahead of the visits, which lets the engine run
// a whole block at once; a function whose evaluations leave state behind
// (Rnd) is evaluated one x at a time, just before its visit, so a sweep that
// stops early has drawn no number too many.
template<class Visita> void spazzaFunzione(Funzione &f, double a, double b, double s, Visita &&visita)
{
    constexpr std::size_t kBlocco = 256;
    const std::size_t lunghezza = f.senzaStato() ? kBlocco : 1;
    std::array<double, kBlocco> xs;
    std::array<Valutazione, kBlocco> ys;
    double x = a;
    bool altri = x <= b;
    while (altri) {
        std::size_t n = 0;
        while (n < lunghezza) {
            xs[n++] = x;
            const double successivo = x + s;
            if (!(successivo > x) || !(successivo <= b)) {
                altri = false;
                break;
            }
            x = successivo;
        }
        f.Valuta(std::span<const double>(xs.data(), n), std::span<Valutazione>(ys.data(), n));
        for (std::size_t i = 0; i < n; ++i) {
            if constexpr (std::is_same_v<decltype(visita(xs[i], ys[i])), bool>) {
                if (!visita(xs[i], ys[i]))
                    return;
            } else {
                visita(xs[i], ys[i]);
            }
        }
    }
}

} // namespace zelvo
