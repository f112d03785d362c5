// The features of one piece: zeros, extrema, inflections, intervals.
#include "analysis/StudioInterno.h"

#include "engine/Errori.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace zelvo::studio {

// ---- features ----------------------------------------------------------------

// A zero of g (f, f' or f'': ordine 0, 1, 2) in a piece, with the sign of g
// just before and just after it (0 at the ends of the piece).
struct Zero
{
    Campione punto;
    int prima = 0;
    int dopo = 0;
    bool serie = false; // one end of a run of samples where g is 0
};

// The zeros of g along samples between which g is monotone or of one sign:
// each sign change, to the last double (Brent's method between two samples
// of opposite signs), and each run of samples where g is 0 (its first and
// last sample).
std::vector<Zero> zeriDi(Funzione &f, const std::vector<Campione> &c, int ordine)
{
    std::vector<Zero> zeri;
    int ultimo = 0; // the last non-zero sign
    std::size_t zeroDa = 0; // the run of zeros after it
    bool inZero = false;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const double g = ricerca::ordine(c[i].d, ordine);
        const int s = segno(g);
        if (s == 0 && !std::isnan(g)) {
            if (!inZero)
                zeroDa = i;
            inZero = true;
            continue;
        }
        if (inZero) {
            const bool serie = i - 1 > zeroDa;
            zeri.push_back({c[zeroDa], ultimo, s, serie});
            if (serie)
                zeri.push_back({c[i - 1], ultimo, s, serie});
        } else if (ultimo != 0 && s != 0 && s != ultimo) {
            zeri.push_back({ricerca::brent(f, c[i - 1], c[i], ordine), ultimo, s});
        }
        if (s != 0)
            ultimo = s;
        inZero = false;
    }
    if (inZero) {
        const bool serie = c.size() - 1 > zeroDa;
        zeri.push_back({c[zeroDa], ultimo, 0, serie});
        if (serie)
            zeri.push_back({c.back(), ultimo, 0, serie});
    }
    return zeri;
}

void aggiungiOrdinati(std::vector<Campione> &l, const std::vector<Zero> &z)
{
    if (z.empty())
        return;
    l.reserve(l.size() + z.size());
    const std::size_t prima = l.size();
    for (const Zero &k : z)
        l.push_back(k.punto);
    // Both parts are ascending: a merge, not a sort.
    std::inplace_merge(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(prima), l.end(),
                       [](const Campione &u, const Campione &v) { return u.x < v.x; });
    l.erase(std::unique(l.begin(), l.end(),
                        [](const Campione &u, const Campione &v) { return u.x == v.x; }),
            l.end());
}

// f is 0 at every sample from x0 to x1 of the piece t (l its samples): a
// stretch where f is 0 (Int(x) on [0; 1)), its start the zero shown; or,
// where f beside it is tiny, where f only underflowed: no zero, a note.
void Analisi::runDiZeri(const Tratto &t, const std::vector<Campione> &l, double x0, double x1,
                        std::vector<double> &zeri, std::vector<std::string> &note)
{
    const auto indice = [&l](double x) {
        return static_cast<std::size_t>(
                std::lower_bound(l.begin(), l.end(), x,
                                 [](const Campione &c, double v) { return c.x < v; })
                - l.begin());
    };
    const std::size_t i0 = indice(x0), i1 = indice(x1);
    const bool primo = i0 == 0, ultimo = i1 + 1 >= l.size();
    const double da = primo ? t.da : x0, fino = ultimo ? t.a : x1;
    bool minuscoli = !primo || !ultimo;
    if (!primo)
        minuscoli = minuscoli && std::fabs(l[i0 - 1].d.valore) < 1e-100;
    if (!ultimo)
        minuscoli = minuscoli && std::fabs(l[i1 + 1].d.valore) < 1e-100;
    zeri.pop_back();
    if (minuscoli) {
        note.push_back("Tra x = " + numero(da) + " e x = " + numero(fino)
                       + " |f| è minore del più piccolo double: lì f vale 0 solo nei calcoli");
        return;
    }
    const Campione inizio = primo ? valuta(da) : l[i0];
    zeri.push_back(inizio.definito() && inizio.d.valore == 0 ? da : x0);
    note.push_back("f vale 0 su tutto l'intervallo da x = " + numero(da) + " a x = " + numero(fino)
                   + ": ne è mostrato l'inizio come zero");
}

// The samples of a piece, with more around each sign change of f, f' or
// f'': located by bisection, then samples at distances halving down to a
// few doubles, so a cluster of close roots (2*(x-0.72)^3*(x-0.720001)^2)
// has a sample between each two of its zeros, extrema and inflections.
void Analisi::affina(std::vector<Campione> &c)
{
    constexpr std::size_t kCambiMassimi = 64; // beyond that f is no cluster
    // Each cell once, by the lowest order that changes sign in it.
    std::vector<std::pair<std::size_t, int>> cambi;
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        for (int k = 0; k <= 2; ++k) {
            const double u = ricerca::ordine(c[i].d, k), v = ricerca::ordine(c[i + 1].d, k);
            if (segno(u) != segno(v)) {
                cambi.push_back({i, k});
                break;
            }
        }
    if (cambi.empty() || cambi.size() > kCambiMassimi || valutazioni_ >= kBudget)
        return;
    std::vector<double> xs;
    for (const auto &[i, k] : cambi) {
        const double w = c[i + 1].x - c[i].x;
        // Not closer than rounding lets f' and f'' keep their signs.
        const double fondo = 1e-10 * std::max({std::fabs(c[i].x), std::fabs(c[i + 1].x), w});
        Campione p = c[i], q = c[i + 1];
        const int sp = segno(ricerca::ordine(p.d, k));
        while (q.x - p.x > fondo) {
            const Campione m = valuta(ricerca::medio(p.x, q.x));
            if (!m.definito())
                break;
            (segno(ricerca::ordine(m.d, k)) == sp ? p : q) = m;
        }
        // (p itself may be within the rounding of g's sign: not taken.)
        for (double d = w / 2; d > fondo; d /= 2)
            for (const double x : {p.x - d, p.x + d})
                if (x > c[i].x && x < c[i + 1].x)
                    xs.push_back(x);
    }
    // All at once: the engine evaluates a block faster than its points.
    std::vector<Derivate> d(xs.size());
    f_.Deriva(xs, d.data());
    valutazioni_ += xs.size();
    std::vector<Campione> nuovi;
    for (std::size_t n = 0; n < xs.size(); ++n)
        if (d[n].ok())
            nuovi.push_back({xs[n], d[n]});
    std::sort(nuovi.begin(), nuovi.end(),
              [](const Campione &u, const Campione &v) { return u.x < v.x; });
    const std::size_t prima = c.size();
    c.insert(c.end(), nuovi.begin(), nuovi.end());
    std::inplace_merge(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(prima), c.end(),
                       [](const Campione &u, const Campione &v) { return u.x < v.x; });
    c.erase(std::unique(c.begin(), c.end(),
                        [](const Campione &u, const Campione &v) { return u.x == v.x; }),
            c.end());
}

CaratteristichePezzo Analisi::studiaTratto(const Tratto &t)
{
    CaratteristichePezzo r;
    // Room for what is added below, so the large vectors are not moved.
    const std::size_t posto = t.c.size() + t.c.size() / 4 + 4096;
    std::vector<Campione> c;
    c.reserve(posto);
    c = t.c;
    if (derivate_)
        affina(c);
    std::vector<Campione> l;
    l.reserve(posto);
    l = c;
    std::vector<double> flessi, estremi, zeri;
    std::vector<Zero> critici;
    if (derivate_) {
        // Inflections: f'' changes sign (its zeros, searched once).
        const std::vector<Zero> zeri2 = zeriDi(f_, c, 2);
        for (const Zero &k : zeri2)
            if (k.prima * k.dopo < 0) {
                flessi.push_back(k.punto.x);
                r.flessi.push_back({k.punto.x, k.punto.d.valore});
                // f' = 0 there too (to its rounding: far below f' at the
                // samples beside it): a stationary inflection.
                const auto dopo
                        = std::upper_bound(c.begin(), c.end(), k.punto.x,
                                           [](double v, const Campione &q) { return v < q.x; });
                double accanto = INFINITY;
                if (dopo != c.end())
                    accanto = std::min(accanto, std::fabs(dopo->d.prima));
                for (auto prima = dopo; prima != c.begin();)
                    if ((--prima)->x < k.punto.x) {
                        accanto = std::min(accanto, std::fabs(prima->d.prima));
                        break;
                    }
                if (k.punto.d.prima == 0 || std::fabs(k.punto.d.prima) <= 1e-8 * accanto)
                    r.flessiOrizzontali.push_back({k.punto.x, k.punto.d.valore});
            }
        // f' is monotone between the samples and the inflections: its
        // zeros are the critical points, extrema where f' changes sign.
        aggiungiOrdinati(l, zeri2);
        critici = zeriDi(f_, l, 1);
        for (const Zero &k : critici) {
            if (k.prima > 0 && k.dopo < 0)
                r.massimi.push_back({k.punto.x, k.punto.d.valore});
            else if (k.prima < 0 && k.dopo > 0)
                r.minimi.push_back({k.punto.x, k.punto.d.valore});
            if (k.prima * k.dopo < 0)
                estremi.push_back(k.punto.x);
        }
        aggiungiOrdinati(l, critici);
    }
    // f is monotone between consecutive points of l: at most one zero.
    const std::vector<Zero> zeriF = zeriDi(f_, l, 0);
    for (std::size_t i = 0; i < zeriF.size(); ++i) {
        zeri.push_back(zeriF[i].punto.x);
        // f = 0 on a whole stretch: its start is the zero shown. A stretch
        // of a few doubles is where f underflows: one zero, the simplest.
        if (zeriF[i].serie && i + 1 < zeriF.size()
            && zeriF[i + 1].punto.x - zeriF[i].punto.x <= 1e-12 * (b_ - a_)) {
            zeri.back() = zeriF[i].punto.x <= 0 && zeriF[i + 1].punto.x >= 0
                    ? 0.0
                    : semplice(zeriF[i].punto.x, zeriF[i + 1].punto.x);
            ++i;
        } else if (zeriF[i].serie && i + 1 < zeriF.size()) {
            const double x0 = zeriF[i].punto.x, x1 = zeriF[i + 1].punto.x;
            // A short stretch around a multiple root, (x+1)^2/x at -1: f
            // rounds to 0 there, and f' (or f'') tells where it touches.
            const auto dentro = [&](const std::vector<double> &v) {
                return std::find_if(v.begin(), v.end(),
                                    [&](double x) { return x >= x0 && x <= x1; });
            };
            const auto estremo = dentro(estremi), flesso = dentro(flessi);
            if (x1 - x0 <= 1e-4 * (b_ - a_) && estremo != estremi.end())
                zeri.back() = *estremo;
            else if (x1 - x0 <= 1e-4 * (b_ - a_) && flesso != flessi.end())
                zeri.back() = *flesso;
            else
                runDiZeri(t, l, x0, x1, zeri, r.note);
            ++i;
        }
    }
    // A zero that only touches the axis: a critical point where f is 0 to
    // within what locating the point allows.
    for (const Zero &k : critici) {
        const Derivate &d = k.punto.d;
        const double dx = 4 * ulp(k.punto.x) + 1e-300;
        if (d.valore != 0 && std::fabs(d.valore) <= 0.5 * std::fabs(d.seconda) * dx * dx)
            zeri.push_back(k.punto.x);
    }
    // At an edge of the domain f may reach 0 between the last double and
    // the next: a zero when a straight line from there reaches 0 within a
    // few doubles.
    for (const Campione *e : {&c.front(), &c.back()}) {
        const bool inizio = e == &c.front();
        const bool inBordo = (inizio ? t.inizio : t.fine) == Fine::Bordo;
        // |f| falls towards the edge: f and f' of opposite signs at the end,
        // of one sign at the start.
        const bool scende = (e->d.valore * e->d.prima > 0) == inizio;
        if (inBordo && e->d.valore != 0 && scende
            && std::fabs(e->d.valore) <= 8 * ulp(e->x) * std::fabs(e->d.prima))
            zeri.push_back(inizio ? t.da : t.a);
    }
    std::sort(zeri.begin(), zeri.end());
    zeri.erase(std::unique(zeri.begin(), zeri.end()), zeri.end());
    r.zeri = zeri;

    // The intervals of the piece.
    intervalli(t, zeri, 0, r.positiva, r.negativa);
    if (derivate_) {
        intervalli(t, estremi, 1, r.crescente, r.decrescente);
        intervalli(t, flessi, 2, r.concavaAlto, r.concavaBasso);
    }
    return r;
}

// The piece cut at confini: each part where g (of ordine) is > 0 goes to
// positivi, < 0 to negativi, judged in its middle.
void Analisi::intervalli(const Tratto &t, const std::vector<double> &confini, int ordine,
                         std::vector<Intervallo> &positivi, std::vector<Intervallo> &negativi)
{
    std::vector<double> x {t.c.front().x};
    for (double v : confini)
        if (v > x.back() && v < t.c.back().x)
            x.push_back(v);
    x.push_back(t.c.back().x);
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        if (x[i + 1] <= x[i])
            continue;
        // Judged inside, away from the middle, where a point that only
        // touches 0 (x^3 at 0, between -1 and 1) would read 0.
        // A sign counts only beyond the rounding of f' (f'') computed from
        // terms the size of f and f' over the stretch: x+2 written as
        // (x^2-4)/(x-2) has f'' = -1E-16, and no concavity.
        const double h = x[i + 1] - x[i];
        const auto segnoCerto = [&](const Campione &k) {
            const double g = ricerca::ordine(k.d, ordine);
            const double arrotondamento = ordine == 0 ? 0.0
                                                      : 64 * DBL_EPSILON
                            * (ordine == 1 ? std::fabs(k.d.valore) / h
                                           : std::fabs(k.d.prima) / h
                                               + std::fabs(k.d.valore) / (h * h));
            return std::fabs(g) > arrotondamento ? segno(g) : 0;
        };
        Campione m = valuta(x[i] + h * 0.381966);
        if (m.definito() && segnoCerto(m) == 0)
            m = valuta(x[i] + h * 0.618034);
        const int s = segnoCerto(m);
        if (s == 0 || !m.definito())
            continue;
        std::vector<Intervallo> &dove = s > 0 ? positivi : negativi;
        dove.push_back({i == 0 ? t.da : x[i], i + 2 == x.size() ? t.a : x[i + 1]});
    }
}

} // namespace zelvo::studio
