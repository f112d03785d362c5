#include "analysis/Candidati.h"

#include "analysis/Ricerca.h"
#include "engine/Funzione.h"
#include "plot/Avanzamento.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <span>

namespace zelvo {

namespace {

// Which band between two consecutive levels u lies in: crossing a level
// changes the band. Bands of a single point (u on the level) are odd.
double banda(const Rottura &r, double u) noexcept
{
    const auto tra = [u](double origine, double periodo) {
        const double t = (u - origine) / periodo;
        const double k = std::floor(t);
        return t == k ? 2 * k + 1 : 2 * k;
    };
    switch (r.soglia) {
    case Soglia::Zero:
        return u > 0 ? 2 : (u < 0 ? -2 : 0);
    case Soglia::Intero:
        return tra(0, 1);
    case Soglia::MezzoIntero:
        return tra(0.5, 1);
    case Soglia::PiMezzi:
        return tra(std::numbers::pi / 2, std::numbers::pi);
    case Soglia::Limite:
        return u > r.limite ? 2 : (u < -r.limite ? -2 : 0);
    }
    return 0;
}

// How far u is from its nearest level.
double distanza(const Rottura &r, double u) noexcept
{
    const auto da = [u](double origine, double periodo) {
        const double t = (u - origine) / periodo;
        return std::fabs(t - std::round(t)) * periodo;
    };
    switch (r.soglia) {
    case Soglia::Zero:
        return std::fabs(u);
    case Soglia::Intero:
        return da(0, 1);
    case Soglia::MezzoIntero:
        return da(0.5, 1);
    case Soglia::PiMezzi:
        return da(std::numbers::pi / 2, std::numbers::pi);
    case Soglia::Limite:
        return std::min(std::fabs(u - r.limite), std::fabs(u + r.limite));
    }
    return INFINITY;
}

class Cerca
{
public:
    Cerca(Funzione &f, std::size_t massimo)
        : f_(f)
        , r_(f.rotture())
        , o_(r_.size())
        , massimo_(massimo)
    { }

    Operando operando(double x, std::size_t i)
    {
        avanza(NAN);
        f_.operandiRotture(x, o_);
        return o_[i];
    }

    // The level crossings of operand i between lo and hi, whose bands differ.
    void attraversa(std::size_t i, double lo, double blo, double hi, double bhi, int profondita)
    {
        if (punti.size() >= massimo_ || blo == bhi)
            return;
        const double m = ricerca::medio(lo, hi);
        if (m <= lo || m >= hi || profondita > 200) {
            punti.push_back(banda(r_[i], operando(hi, i).u) == bhi && std::fmod(bhi, 2) != 0
                                    ? hi
                                    : (std::fmod(blo, 2) != 0 ? lo : ricerca::semplice(lo, hi)));
            return;
        }
        const double u = operando(m, i).u;
        if (std::isnan(u))
            return;
        const double bm = banda(r_[i], u);
        attraversa(i, lo, blo, m, bm, profondita + 1);
        attraversa(i, m, bm, hi, bhi, profondita + 1);
    }

    // Where u comes nearest a level without crossing it between lo and hi
    // (du changes sign): a candidate when u is on the level there within
    // its rounding.
    void tocca(std::size_t i, double lo, double hi)
    {
        double dlo = operando(lo, i).du;
        for (int k = 0; k < 200; ++k) {
            const double m = ricerca::medio(lo, hi);
            if (m <= lo || m >= hi)
                break;
            const double d = operando(m, i).du;
            if (std::isnan(d))
                return;
            ((d > 0) == (dlo > 0) ? lo : hi) = m;
            if ((d > 0) == (dlo > 0))
                dlo = d;
        }
        for (const double x : {lo, hi}) {
            const Operando o = operando(x, i);
            if (distanza(r_[i], o.u) <= 8 * DBL_EPSILON * std::max(1.0, std::fabs(o.u))) {
                punti.push_back(x);
                return;
            }
        }
    }

    std::vector<double> punti;
    Funzione &f_;
    std::span<const Rottura> r_;
    std::vector<Operando> o_;
    std::size_t massimo_;
};

} // namespace

std::vector<double> puntiCandidati(Funzione &f, double a, double b, std::size_t celle,
                                   std::size_t massimo)
{
    if (f.rotture().empty() || !(a < b) || celle == 0)
        return {};
    Cerca c(f, massimo);
    const std::size_t n = c.r_.size();
    std::vector<double> x(celle + 1);
    std::vector<Operando> o((celle + 1) * n);
    for (std::size_t k = 0; k <= celle; ++k) {
        x[k] = k == celle ? b : a + (b - a) * static_cast<double>(k) / static_cast<double>(celle);
        avanza(NAN);
        f.operandiRotture(x[k], std::span<Operando>(o.data() + k * n, n));
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto u = [&](std::size_t k) {
            return o[k * n + i];
        };
        for (std::size_t k = 0; k < celle; ++k) {
            const Operando p = u(k), q = u(k + 1);
            if (std::isnan(p.u) || std::isnan(q.u))
                continue;
            const double bp = banda(c.r_[i], p.u), bq = banda(c.r_[i], q.u);
            if (std::fmod(bp, 2) != 0)
                c.punti.push_back(x[k]);
            if (bp != bq)
                c.attraversa(i, x[k], bp, x[k + 1], bq, 0);
            else if (std::isfinite(p.du) && std::isfinite(q.du) && (p.du > 0) != (q.du > 0)
                     && p.du != 0 && q.du != 0)
                c.tocca(i, x[k], x[k + 1]);
        }
        if (!std::isnan(u(celle).u) && std::fmod(banda(c.r_[i], u(celle).u), 2) != 0)
            c.punti.push_back(b);
    }
    std::vector<double> &p = c.punti;
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    // Two operations breaking a few doubles apart (Tan's level between two
    // doubles, seen from each) break at one point: the simpler.
    std::vector<double> uno;
    for (const double punto : p) {
        const double passo = std::nextafter(std::fabs(punto), INFINITY) - std::fabs(punto);
        if (!uno.empty() && punto - uno.back() <= 4 * passo)
            uno.back() = ricerca::semplice(uno.back(), punto);
        else
            uno.push_back(punto);
    }
    p = std::move(uno);
    if (p.size() > massimo)
        p.resize(massimo);
    return p;
}

} // namespace zelvo
