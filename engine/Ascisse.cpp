#include "engine/Ascisse.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

namespace {

// How many further abscissas after x are sure to be x + j * passo (j = 1 to
// the result) under repeated addition of s: those that stay in the binade of
// |x| with a margin of one spacing u, so that each exact sum, within u / 2 of
// them, rounds to them. 0 when there is no such run (a non-positive or
// non-finite step, x at or near 0 or beyond the normal range, a step that is
// a tie in units of u or does not move x).
double corsa(double x, double s, double &passo) noexcept
{
    const double modulo = std::fabs(x);
    if (!(s > 0) || !(s < 0x1p1000) || !(modulo >= 0x1p-960) || !(modulo < 0x1p1000))
        return 0;
    int e = 0;
    std::frexp(modulo, &e); // modulo in [2^(e-1), 2^e)
    const double u = std::ldexp(1.0, e - 53); // the spacing of the doubles there
    const double q = s / u; // exact: u is a power of two
    if (!(q < 0x1p52) || q - std::floor(q) == 0.5)
        return 0;
    const double d = std::nearbyint(q);
    if (d == 0)
        return 0;
    passo = d * u;
    // Moving up: x stays at most 2^e - u; moving towards 0: |x| at least 2^(e-1) + u.
    const double spazio = x > 0 ? (std::ldexp(1.0, e) - u - x) / u
                                : (modulo - std::ldexp(1.0, e - 1) - u) / u;
    if (!(spazio > 0))
        return 0;
    double passi = std::floor(spazio / d);
    if (passi * d > spazio) // the quotient rounded up to the next whole number
        passi -= 1;
    return passi;
}

} // namespace

std::size_t ascisse(double &x, bool &altri, double b, double s, double *xs, std::size_t n) noexcept
{
    std::size_t k = 0;
    while (altri && k < n) {
        // A run of x + j * passo, j from 0, as long as it is sure, fits and is not beyond b.
        double passo = 0;
        const double passi = corsa(x, s, passo);
        std::size_t quanti = 1;
        if (passi >= 4) {
            quanti = n - k;
            if (passi + 1 < static_cast<double>(quanti))
                quanti = static_cast<std::size_t>(passi) + 1;
            const double finoAB = std::floor((b - x) / passo); // close to the last index not beyond b
            std::size_t ultimo = quanti - 1;
            if (finoAB < static_cast<double>(ultimo))
                ultimo = finoAB > 0 ? static_cast<std::size_t>(finoAB) : 0;
            while (ultimo + 1 < quanti && x + static_cast<double>(ultimo + 1) * passo <= b)
                ++ultimo;
            while (ultimo > 0 && x + static_cast<double>(ultimo) * passo > b)
                --ultimo;
            quanti = ultimo + 1;
            for (std::size_t j = 0; j < quanti; ++j)
                xs[k + j] = x + static_cast<double>(j) * passo;
            x = xs[k + quanti - 1];
        } else {
            xs[k] = x;
        }
        k += quanti;
        // The step after the last one written is a real addition.
        const double successivo = x + s;
        altri = successivo > x && successivo <= b;
        x = successivo;
    }
    return k;
}

} // namespace zelvo
