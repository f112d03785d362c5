#pragma once

// Forward-mode differentiation: a value carried with its first and second
// derivatives in x. Every rule below is the calculus one, evaluated in
// double precision, so each derivative is exact to rounding like the value.

#include <cmath>

namespace zelvo {

struct Getto
{
    double v = 0; // the value
    double d1 = 0; // its first derivative in x
    double d2 = 0; // its second derivative in x
};

namespace getto {

// g(a) for a function g of one variable with g'(a) = g1, g''(a) = g2 and
// value r (the row's own, so the value keeps its bits).
inline Getto catena(const Getto &a, double r, double g1, double g2) noexcept
{
    return {r, g1 * a.d1, g2 * a.d1 * a.d1 + g1 * a.d2};
}

// A piecewise constant result: flat, with a jump where `salto` holds and the
// operand moves.
inline Getto costante(const Getto &a, double r, bool salto, bool &angolo) noexcept
{
    if (salto && (a.d1 != 0 || a.d2 != 0))
        angolo = true;
    return {r, 0, 0};
}

// True where rounding half to even changes value: a + 0.5 integral.
inline bool mezzoIntero(double a) noexcept
{
    return std::fabs(a) < 0x1p52 && a + 0.5 == std::floor(a + 0.5);
}

inline bool intero(double a) noexcept
{
    return a == std::floor(a);
}

} // namespace getto

} // namespace zelvo
