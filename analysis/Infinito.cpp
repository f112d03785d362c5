#include "analysis/Infinito.h"

#include "analysis/Simmetrie.h"
#include "engine/Errori.h"
#include "engine/Funzione.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace zelvo {

namespace {

constexpr int kPerDecade = 8;
constexpr int kDecadi = 300; // past 1E+300 every power overflows
// Off the powers of ten by a fraction of a step, so that Sin(Pi*x) is not
// sampled where it happens to vanish.
constexpr double kScarto = 0.11;
constexpr double kEps = std::numeric_limits<double>::epsilon();
// A limit is claimed to this many digits at least: a band of values wider
// than this is no limit (the rounding of f - m·x at the |x| where it has
// settled leaves about this much).
constexpr double kLarghezza = 1e-6;

// Values g at growing |x| (the abscissas x, for f's own values only), each
// with the rounding it may carry. overflow: f overflowed right after the
// last sample.
struct Serie
{
    std::vector<double> x, g, u;
    bool overflow = false;
};

// The number with the shortest text in [lo, hi] (0 when it is inside), of
// at most `cifre` significant digits; none when there is no such number.
std::optional<double> piuSemplice(double lo, double hi, int massimo = 17) noexcept
{
    if (lo <= 0 && 0 <= hi)
        return 0.0;
    const double c = lo + (hi - lo) / 2;
    char testo[40];
    for (int cifre = 0; cifre < massimo; ++cifre) {
        const auto fine = std::to_chars(testo, testo + sizeof testo, c,
                                        std::chars_format::scientific, cifre);
        double v = c;
        std::from_chars(testo, fine.ptr, v);
        if (lo <= v && v <= hi)
            return v;
    }
    if (massimo < 17)
        return std::nullopt;
    return c;
}

// One window of kPerDecade values: the band (each value with its
// rounding), the values' own range and the largest rounding.
struct Banda
{
    double lo = INFINITY, hi = -INFINITY, min = INFINITY, max = -INFINITY, u = 0;

    double larga() const noexcept { return hi - lo; }
};

Banda banda(const Serie &s, std::size_t i) noexcept
{
    Banda b;
    for (std::size_t k = i; k < i + kPerDecade; ++k) {
        b.lo = std::min(b.lo, s.g[k] - s.u[k]);
        b.hi = std::max(b.hi, s.g[k] + s.u[k]);
        b.min = std::min(b.min, s.g[k]);
        b.max = std::max(b.max, s.g[k]);
        b.u = std::max(b.u, s.u[k]);
    }
    return b;
}

// The limit of the values, where they settle (three decades of them at
// least). Each window of one decade has a band (every value with its
// rounding); a band closes in when it is within the rounding or half as wide
// as the band a decade before, and so did every band before it (1/Log(x)
// narrows too slowly to tell its limit; x - Int(x) drops to 0 only where
// every double is an integer). The narrowest band that closes in, narrower
// than kLarghezza, with no later value outside it, gives the limit: within
// its own width more (what the values still have to go, halving), a number
// of at most 12 digits (the 1/2 that Sqr(x^2+x) - x reaches as rounding
// blurs it; the 0 that 1/x reaches), else the simplest of the values
// themselves (Atn(x) gives Pi/2 to the last bit).
std::optional<double> limiteFinito(const Serie &s)
{
    const std::size_t n = s.g.size(), w = kPerDecade;
    if (n < 3 * kPerDecade)
        return std::nullopt;
    const std::size_t finestre = n - w + 1;
    // The lowest top and highest bottom of the values from each sample on:
    // "no later value outside" is one comparison per window.
    std::vector<double> cimaMinima(n + 1, INFINITY), fondoMassimo(n + 1, -INFINITY);
    for (std::size_t k = n; k-- > 0;) {
        cimaMinima[k] = std::min(cimaMinima[k + 1], s.g[k] + s.u[k]);
        fondoMassimo[k] = std::max(fondoMassimo[k + 1], s.g[k] - s.u[k]);
    }
    // Which windows close in (the first decade has no history), with the
    // bands of the last decade at hand: each band is computed once, and
    // none past a window of its kind that did not close in.
    std::vector<char> chiude(finestre, 1);
    std::array<Banda, kPerDecade> decade;
    std::optional<Banda> migliore;
    for (std::size_t i = 0; i < finestre; ++i) {
        if (i >= w && !chiude[i - w]) {
            chiude[i] = 0;
            continue;
        }
        const Banda b = banda(s, i);
        const Banda prima = decade[i % w];
        decade[i % w] = b;
        if (i < w)
            continue;
        chiude[i] = b.larga() <= 4 * b.u + 1e-300 || b.larga() <= prima.larga() / 2;
        const double centro = b.lo + b.larga() / 2;
        if (!chiude[i] || !(b.larga() <= kLarghezza * std::max(1.0, std::fabs(centro))))
            continue;
        const bool dentro = cimaMinima[i + w] >= b.lo && fondoMassimo[i + w] <= b.hi;
        if (dentro && (!migliore || b.larga() < migliore->larga()))
            migliore = b;
    }
    if (!migliore)
        return std::nullopt;
    const Banda &b = *migliore;
    const double larga = b.larga();
    if (const std::optional<double> breve = piuSemplice(b.lo - larga, b.hi + larga, 12))
        return breve;
    return piuSemplice(b.min, b.max);
}

// +1 (-1) where the values run to +inf (-inf): over the last four decades
// (the whole run when f overflows after it) they rise (fall) at every
// sample, and f overflows next or each decade's rise is no smaller than the
// one before (Log(x) rises by Log(10) a decade; 1 - 1/Log(x) ever less).
int divergenza(const Serie &s)
{
    const std::size_t n = s.g.size();
    const std::size_t coda = 4 * kPerDecade;
    if (n < 2 || (!s.overflow && n < coda + 1))
        return 0;
    const std::size_t da = s.overflow ? (n > coda ? n - coda : 0) : n - coda - 1;
    const double segno = s.g[n - 1] > s.g[n - 2] ? 1.0 : -1.0;
    for (std::size_t k = da + 1; k < n; ++k)
        if (!(segno * (s.g[k] - s.g[k - 1]) > 0))
            return 0;
    if (s.overflow)
        return s.g[n - 1] * segno > 0 ? static_cast<int>(segno) : 0;
    double prima = -1;
    for (std::size_t k = da; k + kPerDecade < n; k += kPerDecade) {
        const double salita = segno * (s.g[k + kPerDecade] - s.g[k]);
        if (salita < prima * (1 - 1e-9))
            return 0;
        prima = salita;
    }
    return static_cast<int>(segno);
}

// True where the values keep swinging as widely: in each of the last four
// decades they both rise and fall, and no decade's spread is below half the
// spread of the decade before (x*Sin(x) swings ever wider).
bool oscilla(const Serie &s)
{
    const std::size_t n = s.g.size(), coda = 4 * kPerDecade;
    if (n < coda)
        return false;
    std::vector<double> ampiezze;
    for (std::size_t d = n - coda; d < n; d += kPerDecade) {
        bool sale = false, scende = false;
        double lo = s.g[d], hi = s.g[d];
        for (std::size_t k = d + 1; k < d + kPerDecade; ++k) {
            sale = sale || s.g[k] > s.g[k - 1];
            scende = scende || s.g[k] < s.g[k - 1];
            lo = std::min(lo, s.g[k]);
            hi = std::max(hi, s.g[k]);
        }
        if (!sale || !scende)
            return false;
        ampiezze.push_back(hi - lo);
    }
    for (std::size_t d = 1; d < ampiezze.size(); ++d)
        if (!(ampiezze[d] >= ampiezze[d - 1] / 2))
            return false;
    return ampiezze[0] > 0;
}

// f(x)/x (m = 0) or f(x) - m·x at the samples of f, with their rounding.
Serie trasformata(const Serie &f, bool rapporto, double m)
{
    Serie s;
    s.overflow = f.overflow;
    s.g.resize(f.x.size());
    s.u.resize(f.x.size());
    for (std::size_t k = 0; k < f.x.size(); ++k) {
        const double xk = f.x[k], yk = f.g[k];
        s.g[k] = rapporto ? yk / xk : yk - m * xk;
        s.u[k] = rapporto ? 4 * kEps * std::fabs(yk / xk)
                          : 2 * kEps * (std::fabs(yk) + std::fabs(m * xk));
    }
    return s;
}

// A run cut short by an overflow (Exp(x) past 709.78) holds too few
// decades to tell a limit or a swing: the same stretch again, from da up to
// a (where f overflowed), evenly spaced, up to the first failure. Each
// "decade" of the analysis is then kPerDecade steps of (a - da) / kFitti:
// Exp(x)/(Exp(x)+1) closes in on 1 by a factor e^-10 from one to the next,
// and Exp(x)*Sin(x) rises and falls within each (steps of about 1.4 for
// |x| up to 709.78, so a decade holds more than 2π).
constexpr std::size_t kFitti = 512;

Serie fitta(Funzione &f, double da, double a)
{
    std::vector<double> x(kFitti), y(kFitti);
    std::vector<int> errori(kFitti);
    for (std::size_t i = 0; i < kFitti; ++i)
        x[i] = da + (a - da) * static_cast<double>(i) / kFitti;
    f.Valuta(x, y.data(), errori.data());
    Serie s;
    s.overflow = true; // at a, if not before
    for (std::size_t i = 0; i < kFitti; ++i) {
        if (errori[i] != 0 || !std::isfinite(y[i]))
            break;
        s.x.push_back(x[i]);
        s.g.push_back(y[i]);
        s.u.push_back(4 * kEps * std::fabs(y[i]));
    }
    return s;
}

// |x| of the samples, computed once.
const std::vector<double> &ascisse()
{
    static const std::vector<double> a = [] {
        std::vector<double> v(kDecadi * kPerDecade);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = std::pow(10.0, 1 + (static_cast<double>(i) + kScarto) / kPerDecade);
        return v;
    }();
    return a;
}

} // namespace

Infinito infinito(Funzione &f, int lato)
{
    Infinito r;
    r.lato = lato < 0 ? -1 : +1;
    const std::size_t n = kDecadi * kPerDecade;
    std::vector<double> x(ascisse()), y(n);
    std::vector<int> errori(n);
    if (r.lato < 0)
        for (double &xi : x)
            xi = -xi;
    f.Valuta(x, y.data(), errori.data());
    const auto fallito = [&](std::size_t i) {
        return errori[i] != 0 || !std::isfinite(y[i]);
    };
    const auto trabocca = [&](std::size_t i) {
        return errori[i] == ErroreOverflow || (errori[i] == 0 && std::isinf(y[i]));
    };
    // The run: from past the last failure that is no overflow, to the first
    // failure after it.
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (fallito(i) && !trabocca(i))
            inizio = i + 1;
    if (inizio > 19 * kPerDecade) // not defined somewhere past 1E+20
        return r;
    std::size_t fine = inizio;
    while (fine < n && !fallito(fine))
        ++fine;
    Serie s;
    s.overflow = fine < n;
    s.x.assign(x.begin() + static_cast<std::ptrdiff_t>(inizio),
               x.begin() + static_cast<std::ptrdiff_t>(fine));
    s.g.assign(y.begin() + static_cast<std::ptrdiff_t>(inizio),
               y.begin() + static_cast<std::ptrdiff_t>(fine));
    s.u.reserve(s.g.size());
    for (const double g : s.g)
        s.u.push_back(4 * kEps * std::fabs(g));
    const double oltre = fine < n ? x[fine] : 0; // where f overflowed
    // What follows runs for every function studied: the memory it holds at
    // once stays small (a few tens of kilobytes), which keeps the allocator
    // from handing pages back to the system and taking them again.
    x = std::vector<double>();
    y = std::vector<double>();
    errori = std::vector<int>();
    if (s.g.empty() && inizio > 0)
        return r;
    r.definita = true;
    // Overflowing at once (Exp(Exp(x)) past 6.57): the stretch from 0 on.
    if (s.overflow && s.g.size() < 3 * kPerDecade)
        s = fitta(f, s.g.empty() ? 0.0 : s.x.front(), oltre);
    if (s.g.size() < 2) {
        r.motivo = "i valori di f superano il più grande numero rappresentabile già a |x| = 10";
        return r;
    }
    if (const std::optional<double> l = limiteFinito(s)) {
        r.determinato = true;
        r.limite = {Limite::Tipo::Finito, *l};
        r.orizzontale = *l;
        return r;
    }
    if (const int d = divergenza(s)) {
        r.determinato = true;
        r.limite.tipo = d > 0 ? Limite::Tipo::PiuInfinito : Limite::Tipo::MenoInfinito;
        std::optional<double> m;
        {
            const Serie rapporto = trasformata(s, true, 0);
            m = limiteFinito(rapporto);
            if (!m && !oscilla(rapporto) && divergenza(rapporto) == 0)
                r.motivo = "asintoto obliquo non determinato: f(x)/x non si stabilizza";
        }
        if (!m || *m == 0)
            return r; // f grows faster or slower than a line: no oblique asymptote
        const Serie resto = trasformata(s, false, *m);
        if (const std::optional<double> q = limiteFinito(resto)) {
            r.m = *m;
            r.q = *q;
        } else if (!oscilla(resto) && divergenza(resto) == 0) {
            r.motivo = "asintoto obliquo non determinato: f(x) - m·x non si stabilizza";
        }
        return r;
    }
    // A periodic f that is not constant has no limit, however its values
    // fall at the samples (Tan(x), 1/Sin(x)).
    if (oscilla(s) || periodo(f)) {
        r.determinato = true;
        r.limite.tipo = Limite::Tipo::NonEsiste;
        return r;
    }
    r.motivo = s.overflow ? "i valori di f superano il più grande numero rappresentabile senza "
                            "crescere né decrescere in modo regolare"
                          : "i valori non si stabilizzano";
    return r;
}

} // namespace zelvo
