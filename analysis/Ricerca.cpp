#include "analysis/Ricerca.h"

#include "plot/Avanzamento.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <utility>

namespace zelvo::ricerca {

namespace {

// Doubles as ordered integers: consecutive doubles, consecutive integers.
std::int64_t ordinale(double x) noexcept
{
    const auto b = std::bit_cast<std::int64_t>(x);
    return b < 0 ? std::numeric_limits<std::int64_t>::min() - b : b;
}

double daOrdinale(std::int64_t i) noexcept
{
    return std::bit_cast<double>(i < 0 ? std::numeric_limits<std::int64_t>::min() - i : i);
}

} // namespace

double medio(double lo, double hi) noexcept
{
    if ((lo < 0) != (hi < 0) || std::fabs(hi) > 2 * std::fabs(lo)
        || std::fabs(lo) > 2 * std::fabs(hi)) {
        const std::int64_t a = ordinale(lo), b = ordinale(hi);
        return daOrdinale(std::midpoint(a, b)); // b - a may not fit in 64 bits
    }
    return lo + (hi - lo) / 2;
}

double semplice(double u, double v) noexcept
{
    const auto cifre = [](double x) {
        char testo[32];
        return std::to_chars(testo, testo + sizeof testo, x).ptr - testo;
    };
    return cifre(v) < cifre(u) ? v : u;
}

namespace {

// Where g is 0 on a stretch of doubles (f' of 1/(x-2)+x/4 is exactly 0 for
// |x| < 1.1E-16, as x-2 rounds to -2 there), the zero is the simplest number
// of the stretch: 0, else x with the fewest significant digits, if g is 0
// there too.
template<class G, class V> Campione piuSemplice(const Campione &zero, G g, V valuta)
{
    const double x = zero.x;
    if (x == 0)
        return zero;
    const double vicino = 1e-12 * std::max(std::fabs(x), 1e-300);
    for (int cifre = 0; cifre <= 15; ++cifre) {
        double candidato = 0;
        if (cifre > 0) {
            char testo[40];
            std::snprintf(testo, sizeof testo, "%.*e", cifre - 1, x);
            candidato = std::strtod(testo, nullptr);
        } else if (std::fabs(x) > 1e-12) {
            continue; // 0 only for a zero that is nearly 0
        }
        if (candidato == x)
            return zero;
        if (cifre > 0 && std::fabs(candidato - x) > vicino)
            continue;
        const Campione c = valuta(candidato);
        if (c.definito() && g(c) == 0)
            return c;
    }
    return zero;
}

} // namespace

Campione brent(Funzione &f, Campione p, Campione q, int k)
{
    const auto g = [k](const Campione &c) {
        const double v = ordine(c.d, k);
        return c.definito() && std::isfinite(v) ? v : 0.0;
    };
    const auto valuta = [&f](double x) {
        return Campione {x, f.Deriva(x)};
    };
    // a, b: the bracket, b the best so far; c the previous b.
    Campione a = p, b = q;
    double ga = g(a), gb = g(b);
    if (ga == 0)
        return piuSemplice(a, g, valuta);
    if (gb == 0)
        return piuSemplice(b, g, valuta);
    Campione c = a;
    double gc = ga;
    double d = b.x - a.x, e = d;
    for (int i = 0; i < 200; ++i) {
        if ((gb > 0) == (gc > 0)) {
            c = a, gc = ga;
            d = e = b.x - a.x;
        }
        if (std::fabs(gc) < std::fabs(gb)) {
            a = b, ga = gb;
            b = c, gb = gc;
            c = a, gc = ga;
        }
        const double tolleranza = 2 * DBL_EPSILON * std::fabs(b.x);
        const double m = (c.x - b.x) / 2;
        if (std::fabs(m) <= tolleranza || gb == 0)
            break;
        if (std::fabs(e) >= tolleranza && std::fabs(ga) > std::fabs(gb)) {
            double s = gb / ga, pp, qq;
            if (a.x == c.x) { // secant
                pp = 2 * m * s;
                qq = 1 - s;
            } else { // inverse quadratic
                const double r = gb / gc, t = ga / gc;
                pp = s * (2 * m * t * (t - r) - (b.x - a.x) * (r - 1));
                qq = (t - 1) * (r - 1) * (s - 1);
            }
            if (pp > 0)
                qq = -qq;
            else
                pp = -pp;
            if (2 * pp < std::min(3 * m * qq - std::fabs(tolleranza * qq), std::fabs(e * qq))) {
                e = d;
                d = pp / qq;
            } else {
                d = e = m;
            }
        } else {
            d = e = m;
        }
        a = b, ga = gb;
        const double x
                = std::fabs(d) > tolleranza ? b.x + d : b.x + (m > 0 ? tolleranza : -tolleranza);
        b = valuta(x);
        gb = g(b);
    }
    if (gb == 0)
        return piuSemplice(b, g, valuta);
    // The last doubles by bisection: b and c bracket the zero.
    Campione lo = b.x < c.x ? b : c, hi = b.x < c.x ? c : b;
    double glo = g(lo);
    for (int i = 0; i < 128; ++i) {
        const double x = medio(lo.x, hi.x);
        if (x <= lo.x || x >= hi.x)
            break;
        const Campione m = valuta(x);
        const double gm = g(m);
        if (gm == 0)
            return piuSemplice(m, g, valuta);
        if ((gm > 0) == (glo > 0))
            lo = m, glo = gm;
        else
            hi = m;
    }
    const double ghi = g(hi);
    if (std::fabs(glo) == std::fabs(ghi)) // the sign changes between two doubles
        return semplice(lo.x, hi.x) == lo.x ? lo : hi;
    return std::fabs(glo) < std::fabs(ghi) ? lo : hi;
}

} // namespace zelvo::ricerca
