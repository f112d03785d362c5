#pragma once

#include "engine/Funzione.h"

#include <cmath>

namespace zelvo::ricerca {

// One point of f with its exact derivatives.
struct Campione
{
    double x = 0;
    Derivate d;

    bool definito() const noexcept { return d.ok(); }
};

// f (ordine 0), f' (1) or f'' (2) of d.
inline double ordine(const Derivate &d, int ordine) noexcept
{
    return ordine == 0 ? d.valore : (ordine == 1 ? d.prima : d.seconda);
}

// A double between lo < hi, strictly inside when there is one: the middle
// of the doubles between them when they differ in sign or in scale (64
// halvings reach any two adjacent doubles), else the middle in value.
double medio(double lo, double hi) noexcept;

// Of two doubles, the one with the shorter exact text (2 rather than
// 1.9999999999999998, 0 rather than -4.94E-324), the first when both are as
// long.
double semplice(double u, double v) noexcept;

// The zero of g = f, f' or f'' (ordine) between p and q, where g has
// opposite signs: Brent's method (inverse quadratic interpolation, secant
// and bisection), then bisection to two adjacent doubles; of those, the one
// where |g| is smaller. A point where g cannot be computed is taken as 0.
Campione brent(Funzione &f, Campione p, Campione q, int ordine);

} // namespace zelvo::ricerca
