#include "analysis/Limiti.h"

#include "engine/Errori.h"
#include "engine/Funzione.h"
#include "plot/Avanzamento.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace zelvo::limiti {

namespace {

// Distances shrink by 8 at most this many times before the double beside x0.
constexpr int kPassi = 60;

struct Campione
{
    double h = 0; // distance from x0
    Derivate d;
    bool oltre = false; // |g| is beyond the largest double (overflow)
};

// g at distances hMax / 8^k from x0 on side lato, then at the double beside
// x0; failed evaluations other than overflow are left out.
std::vector<Campione> campioni(Funzione &f, double x0, int lato, double hMax)
{
    std::vector<Campione> c;
    double ultimo = NAN;
    const auto prendi = [&](double x) {
        if (x == x0 || x == ultimo)
            return;
        ultimo = x;
        avanza(NAN);
        const Derivate d = f.Deriva(x);
        if (d.ok())
            c.push_back({std::fabs(x - x0), d, false});
        else if (d.errore == Errore::ErroreOverflow)
            c.push_back({std::fabs(x - x0), d, true});
    };
    double h = hMax;
    for (int k = 0; k <= kPassi && x0 + lato * h != x0; ++k, h /= 8)
        prendi(x0 + lato * h);
    prendi(std::nextafter(x0, lato > 0 ? INFINITY : -INFINITY));
    return c;
}

double valore(const Derivate &d, int ordine)
{
    return ordine == 0 ? d.valore : d.prima;
}

// g carried from its sample to x0 by a Taylor step with the exact
// derivatives; g itself where they are missing.
double portato(const Campione &c, int lato, int ordine)
{
    const double delta = -lato * c.h;
    const double v = ordine == 0 ? c.d.valore + delta * c.d.prima + delta * delta / 2 * c.d.seconda
                                 : c.d.prima + delta * c.d.seconda;
    return std::isfinite(v) ? v : valore(c.d, ordine);
}

// The number with at most 6 significant digits (0 included) within tol of
// v, else v: the limit 4 of (x^2-4)/(x-2), not 3.99999999999998.
double arrotonda(double v, double tol)
{
    if (std::fabs(v) <= tol)
        return 0;
    for (int cifre = 1; cifre <= 6; ++cifre) {
        char testo[40];
        std::snprintf(testo, sizeof testo, "%.*e", cifre - 1, v);
        const double r = std::strtod(testo, nullptr);
        if (std::fabs(r - v) <= tol)
            return r;
    }
    return v;
}

// |g| grows without bound along the last samples: overflow after growth, or
// four steps up that do not shrink (a pole, a logarithm); the sign is that
// of the last finite value.
bool illimitato(std::vector<Campione> c, double x0, int ordine, double &segno)
{
    // Within a few doubles of x0, rounding of what f computes from x (3*x
    // near Tan's pole) may stall the growth: those samples do not count.
    const double vicino = 32 * (std::nextafter(std::fabs(x0), INFINITY) - std::fabs(x0));
    std::erase_if(c, [vicino](const Campione &k) { return k.h < vicino && !k.oltre; });
    std::size_t finiti = 0;
    while (finiti < c.size() && !c[finiti].oltre)
        ++finiti;
    if (finiti == 0)
        return false;
    segno = valore(c[finiti - 1].d, ordine) > 0 ? 1 : -1;
    // Overflow after growth: |g| at least doubles, with one sign, over the
    // last steps before it (up to three). An overflow alone tells nothing:
    // Sin(1/x) overflows in 1/x beside 0, not in its value.
    if (finiti < c.size() && finiti >= 2) {
        bool cresce = true;
        for (std::size_t i = finiti - std::min<std::size_t>(finiti - 1, 3); i < finiti; ++i) {
            const double u = valore(c[i - 1].d, ordine), v = valore(c[i].d, ordine);
            cresce = cresce && (u > 0) == (v > 0) && std::fabs(v) > 2 * std::fabs(u);
        }
        if (cresce)
            return true;
    }
    if (finiti < 5)
        return false;
    double passo = NAN;
    for (std::size_t i = finiti - 4; i < finiti; ++i) {
        const double u = valore(c[i - 1].d, ordine), v = valore(c[i].d, ordine);
        if ((u > 0) != (v > 0) || (v > 0) != (segno > 0))
            return false;
        const double nuovo = std::fabs(v) - std::fabs(u);
        // The double beside x0 may be nearer than a step of 8: growth is
        // enough there.
        const bool geometrico = c[i - 1].h >= 7 * c[i].h;
        if (!(nuovo > 0) || (geometrico && !std::isnan(passo) && nuovo < 0.5 * passo))
            return false;
        passo = nuovo;
    }
    return true;
}

} // namespace

Stima limite(Funzione &f, double x0, int lato, double hMax, int ordine)
{
    Stima s;
    const std::vector<Campione> c = campioni(f, x0, lato, hMax);
    if (c.empty())
        return s; // Assente
    double segno = 1;
    if (illimitato(c, x0, ordine, segno)) {
        s.limite.tipo = segno > 0 ? Limite::Tipo::PiuInfinito : Limite::Tipo::MenoInfinito;
        return s;
    }
    // The values carried to x0, and g itself: whichever settles better
    // (the carried ones, unless f'' is mostly rounding there).
    std::vector<double> portati, grezzi;
    double scala = 0; // the size of g (not of the carried values: they may run wild)
    for (const Campione &k : c) {
        const double v = valore(k.d, ordine);
        if (k.oltre || !std::isfinite(v))
            continue;
        portati.push_back(portato(k, lato, ordine));
        grezzi.push_back(v);
        scala = std::max(scala, std::fabs(v));
    }
    if (portati.empty()) {
        s.oltre = true; // beyond the largest double all the way: nothing to tell
        return s;
    }
    // The three values in a row that agree best.
    double migliore = INFINITY, stima = NAN;
    std::vector<double> l;
    for (const std::vector<double> *v : {&portati, &grezzi}) {
        for (std::size_t i = 0; i + 2 < v->size(); ++i) {
            const double e = std::max(std::fabs((*v)[i] - (*v)[i + 1]),
                                      std::fabs((*v)[i + 1] - (*v)[i + 2]));
            // A run that settles all at once, far from where the values
            // were heading, is rounding: 1-Cos(x) is 0 for |x| < 1E-8, and
            // (1-Cos(x))/x^2 is not 0 there.
            const double prima = i > 0 ? std::fabs((*v)[i - 1] - (*v)[i]) : 0;
            const double ancora = i > 1 ? std::fabs((*v)[i - 2] - (*v)[i - 1]) : INFINITY;
            if (prima > 8 * ancora
                && prima > 1e3 * std::max(e, 8 * DBL_EPSILON * std::fabs((*v)[i])) + 1e-9 * scala)
                break; // and nearer still is rounding too
            if (e <= migliore) {
                migliore = e;
                stima = (*v)[i + 2];
                l = *v;
            }
        }
    }
    if (portati.size() <= 2) { // only the last doubles are defined
        l = portati;
        migliore = l.size() == 2 ? std::fabs(l[0] - l[1]) : 0;
        stima = l.back();
    }
    // A slope is read to fewer digits than a value: f'' near a corner is
    // often mostly rounding.
    const double accordo = ordine == 0 ? 1e-9 : 1e-6;
    s.limite.tipo = Limite::Tipo::Finito;
    s.scala = scala;
    if (migliore <= accordo * scala + 1e-300 || scala == 0) {
        s.incertezza = std::max(migliore, 4 * DBL_EPSILON * std::fabs(stima));
        // A short number within the rounding of g (4, not 3.99999999999998),
        // never one that would cost digits.
        s.limite.valore = arrotonda(
                stima,
                std::min(std::max({migliore, 1e-14 * std::fabs(stima), 4 * DBL_EPSILON * scala}),
                         1e-11 * std::max(std::fabs(stima), scala)));
        return s;
    }
    // Not settled: still moving one way (a slow limit) or oscillating.
    const std::size_t da = l.size() > 8 ? l.size() - 8 : 0;
    int su = 0, giu = 0;
    for (std::size_t i = da; i + 1 < l.size(); ++i)
        (l[i + 1] > l[i] ? su : giu) += 1;
    if ((su == 0 || giu == 0) && migliore <= 1e-3 * scala) {
        s.lento = true;
        s.incertezza = migliore;
        s.limite.valore = arrotonda(stima, migliore);
        return s;
    }
    s.limite.tipo = Limite::Tipo::NonEsiste;
    return s;
}

double raggioRumore(Funzione &f, double x0, int lato, double hMax)
{
    const std::vector<Campione> c = campioni(f, x0, lato, hMax);
    // Where f is smooth, f'' at each distance is what the two before it
    // predict along a line, better the nearer; rounding breaks that: noisy
    // from the best prediction seen before one 64 times worse.
    double minimo = INFINITY, dove = 0;
    for (std::size_t i = 2; i < c.size(); ++i) {
        if (c[i].oltre || c[i - 1].oltre || c[i - 2].oltre)
            break;
        const Campione &p = c[i - 2], &q = c[i - 1], &r = c[i];
        const double previsto
                = q.d.seconda + (q.d.seconda - p.d.seconda) * (r.h - q.h) / (q.h - p.h);
        const double e = std::fabs(r.d.seconda - previsto);
        if (!std::isfinite(e))
            return q.h;
        if (e > 64 * minimo && e > 1e-12 * std::fabs(r.d.seconda) + 1e-300)
            return dove;
        if (e < minimo) {
            minimo = e;
            dove = q.h;
        }
    }
    return 0;
}

double cifreCerte(double v, double incertezza)
{
    if (!std::isfinite(v) || v == 0 || !(incertezza > 0))
        return v;
    const int cifre = static_cast<int>(std::floor(std::log10(std::fabs(v) / incertezza))) - 1;
    if (cifre >= 15)
        return v;
    if (cifre < 1)
        return v; // nothing certain: the estimate as it is
    char testo[40];
    std::snprintf(testo, sizeof testo, "%.*e", cifre - 1, v);
    return std::strtod(testo, nullptr);
}

bool uguali(const Stima &u, const Stima &v)
{
    const Limite &a = u.limite, &b = v.limite;
    if (a.tipo != b.tipo)
        return false;
    if (a.tipo != Limite::Tipo::Finito)
        return a.tipo != Limite::Tipo::NonEsiste && a.tipo != Limite::Tipo::Assente;
    // Values below the rounding of f around them are equal (0 and the
    // 5.6E-309 of an underflow).
    const double tol = 8 * (u.incertezza + v.incertezza)
            + 1e-12 * std::max({std::fabs(a.valore), std::fabs(b.valore)})
            + 1e-14 * std::max(u.scala, v.scala) + 1e-300;
    return std::fabs(a.valore - b.valore) <= tol;
}

} // namespace zelvo::limiti
