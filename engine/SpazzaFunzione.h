#pragma once

#include "engine/Funzione.h"
#include "engine/Valutazione.h"

#include <cstddef>
#include <cstring>
#include <span>
#include <type_traits>
#include <utility>

namespace zelvo {

// How many abscissas a sweep evaluates at once: the engine's block.
inline constexpr std::size_t kBloccoSpazzata = Programma::kBlocco;

// One block of a sweep, as evaluated: abscissas, values (0 where f failed)
// and error numbers (0: evaluated), and how many failed.
struct BloccoSpazzata
{
    std::span<const double> x;
    std::span<const double> y;
    std::span<const int> errore;
    std::size_t falliti = 0;

    std::size_t size() const noexcept { return x.size(); }
    Valutazione operator[](std::size_t i) const noexcept { return {y[i], errore[i]}; }
};

namespace dettaglio {

// Visits a block while it adds up, one per visit, the next block's abscissas
// into prossimo; returns false when a visit ends the sweep. A function of
// its own, with no call in its loop, so that x stays in a register: the
// chain of additions is the one thing a sweep cannot do in parallel.
template<class Visita>
[[gnu::noinline]] bool visita(const double *xs, const double *ys, const int *es, std::size_t n,
                              double *__restrict prossimo, std::size_t &m, std::size_t lunghezza,
                              double &x, bool &altri, double b, double s, Visita &visita)
{
    // A visitor that carries its state by value is copied in and out, so
    // that state, too, stays in registers through the loop.
    using Tipo = std::remove_cvref_t<Visita>;
    constexpr bool copia = std::is_copy_assignable_v<Tipo>;
    std::conditional_t<copia, Tipo, Visita &> v = visita;
    double xv = x;
    bool av = altri;
    std::size_t mv = m;
    bool continua = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (av && mv < lunghezza) {
            prossimo[mv++] = xv;
            const double successivo = xv + s;
            av = successivo > xv && successivo <= b;
            xv = successivo;
        }
        const Valutazione y {ys[i], es[i]};
        if constexpr (std::is_same_v<decltype(v(xs[i], y)), bool>) {
            if (!v(xs[i], y)) {
                continua = false;
                break;
            }
        } else {
            v(xs[i], y);
        }
    }
    if constexpr (copia)
        visita = v;
    x = xv;
    altri = av;
    m = mv;
    return continua;
}

} // namespace dettaglio

// Calls visita(x, f(x)) for x = a, a + s, (a + s) + s, ... while x <= b:
// repeated addition, so rounding decides whether b itself is reached. The
// sweep also ends when an addition no longer moves x, so no step can make it
// endless, and when visita returns false.
//
// f is evaluated a block of x ahead of the visits, which lets the engine run
// a whole block at once; a function whose evaluations leave state behind
// (Rnd) is evaluated one x at a time, just before its visit, so a sweep that
// stops early has drawn no number too many. prepara(blocco), when given,
// sees each BloccoSpazzata before the visits of its samples: work done a
// block at a time.
template<class Visita, class Prepara>
void spazzaFunzione(Funzione &f, double a, double b, double s, Visita &&visita, Prepara &&prepara)
{
    constexpr std::size_t kBlocco = kBloccoSpazzata;
    const std::size_t lunghezza = f.senzaStato() ? kBlocco : 1;
    double xs[kBlocco];
    double ys[kBlocco];
    int es[kBlocco];
    // The next block's abscissas are added up while this block is visited,
    // so the two chains of additions overlap in the processor. They go to an
    // array no other code sees, so no store of the visit can be taken for a
    // store into it.
    double prossimo[kBlocco];
    double x = a; // the next abscissa
    bool altri = x <= b; // whether there is one
    std::size_t n = 0;
    while (altri && n < lunghezza) {
        xs[n++] = x;
        const double successivo = x + s;
        altri = successivo > x && successivo <= b;
        x = successivo;
    }
    while (n > 0) {
        const std::size_t falliti = f.Valuta(std::span<const double>(xs, n), ys, es);
        prepara(BloccoSpazzata {{xs, n}, {ys, n}, {es, n}, falliti});
        std::size_t m = 0;
        if (!dettaglio::visita(xs, ys, es, n, prossimo, m, lunghezza, x, altri, b, s, visita))
            return;
        while (altri && m < lunghezza) {
            prossimo[m++] = x;
            const double successivo = x + s;
            altri = successivo > x && successivo <= b;
            x = successivo;
        }
        std::memcpy(xs, prossimo, m * sizeof(double));
        n = m;
    }
}

template<class Visita>
void spazzaFunzione(Funzione &f, double a, double b, double s, Visita &&visita)
{
    spazzaFunzione(f, a, b, s, std::forward<Visita>(visita), [](const BloccoSpazzata &) {});
}

} // namespace zelvo
