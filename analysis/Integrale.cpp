#include "analysis/Integrale.h"

#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Avanzamento.h"
#include "plot/Spazzata.h"

#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <span>
#include <vector>

namespace zelvo {

namespace {

constexpr double kTolleranza = 1e-13;
// The levels of one tanh-sinh run (steps 1/2 ... 1/128): a stretch that
// has not settled by then is halved instead, which costs less than more
// levels where the trouble is local (a cusp inside it).
constexpr std::size_t kLivelli = 7;
// The work of one integral, in evaluations of f: past it the stretches left
// keep the value they have, and the integral says it may not have all its
// digits.
constexpr std::size_t kMaxValutazioni = 3'000'000;
// Where the operands of f's breaking operations are looked at: at most 64
// samples in a piece, about 4,096 over all the pieces (at least 4 in each),
// and the most points a piece is split at.
constexpr std::size_t kCampioniPezzo = 64;
constexpr double kCampioniTutti = 4096;
constexpr std::size_t kMinCampioni = 4;
constexpr std::size_t kMaxPuntiRottura = 2000;

// One stretch of a piece with its tanh-sinh sum.
struct Tratto
{
    double da = 0, a = 0;
    double valore = 0;
    double errore = 0; // Boost's estimate: the change made by the last level
    double assoluto = 0; // the integral of |f|, for the relative tolerance
};

// The quadrature, shared: its nodes and weights are computed once.
boost::math::quadrature::tanh_sinh<double> &quadratura()
{
    static boost::math::quadrature::tanh_sinh<double> q(kLivelli);
    return q;
}

// Tanh-sinh on [da, a], f never taken at da or a. Boost computes each node
// near an end from its distance to it, so the nodes crowd towards the ends
// down to the last double; those that round onto an end take f at the
// double next to it, inside: dropping them would lose the integral over
// the last rounding error of each end (1e-12 of the integral on 6,000
// pieces). A failed evaluation counts as 0: in a piece it can only be at an
// end.
Tratto tanhSinh(Funzione &f, double da, double a, std::size_t &valutazioni)
{
    Tratto t {da, a};
    const auto valuta = [&](double x) {
        avanza(NAN);
        ++valutazioni;
        const Valutazione v = f.Valuta(x);
        return v.ok() ? v.valore : 0.0;
    };
    const double primo = std::nextafter(da, a), ultimo = std::nextafter(a, da);
    double fPrimo = NAN, fUltimo = NAN; // taken once, however many nodes round there
    const auto g = [&](double x, double) {
        if (x <= primo)
            return std::isnan(fPrimo) ? (fPrimo = valuta(primo)) : fPrimo;
        if (x >= ultimo)
            return std::isnan(fUltimo) ? (fUltimo = valuta(ultimo)) : fUltimo;
        return valuta(x);
    };
    try {
        t.valore = quadratura().integrate(g, da, a, kTolleranza, &t.errore, &t.assoluto);
        t.errore *= (a - da) / 2; // Boost's is on [-1, 1], unlike its value and L1
    } catch (const boost::math::evaluation_error &) {
        // The sum went past the largest double (1e308 on [0, 10]): so
        // does the integral, with the sign of f in the middle.
        t.valore = std::copysign(INFINITY, valuta(da + (a - da) / 2));
        t.errore = 0;
        t.assoluto = INFINITY;
    }
    return t;
}

// ---- where f may break inside a piece --------------------------------------

// The levels of soglia between u1 and u2 (either order), at most `resto`.
void livelliTra(const Rottura &r, double u1, double u2, std::size_t resto, std::vector<double> &l)
{
    const double lo = std::min(u1, u2), hi = std::max(u1, u2);
    const auto reticolo = [&](double origine, double passo) {
        // origine + k passo in [lo, hi]
        const double k1 = std::ceil((lo - origine) / passo),
                     k2 = std::floor((hi - origine) / passo);
        for (double k = k1; k <= k2 && l.size() < resto; ++k)
            l.push_back(origine + k * passo);
    };
    switch (r.soglia) {
    case Soglia::Zero:
        if (lo <= 0 && hi >= 0)
            l.push_back(0);
        break;
    case Soglia::Intero:
        reticolo(0, 1);
        break;
    case Soglia::MezzoIntero:
        reticolo(0.5, 1);
        break;
    case Soglia::PiMezzi:
        reticolo(std::numbers::pi / 2, std::numbers::pi);
        break;
    case Soglia::Limite:
        for (const double v : {-r.limite, r.limite})
            if (lo <= v && v <= hi)
                l.push_back(v);
        break;
    }
}

// The points of (da, a) where an operand of f's breaking operations meets its
// level (crossing it, or touching it where the operand turns: 1 + Sin(x) at
// -pi/2), found from samples and refined by TOMS 748. A point missed between
// two samples only costs the quadrature more halvings.
std::vector<double> puntiRottura(Funzione &f, double da, double a, std::size_t campioni,
                                 std::size_t &valutazioni)
{
    const std::span<const Rottura> rotture = f.rotture();
    std::vector<double> punti;
    if (rotture.empty())
        return punti;
    const std::size_t n = rotture.size();
    std::vector<double> x(campioni + 1);
    std::vector<Operando> o((campioni + 1) * n);
    for (std::size_t k = 0; k <= campioni; ++k) {
        x[k] = k == campioni
                ? a
                : da + (a - da) * static_cast<double>(k) / static_cast<double>(campioni);
        avanza(NAN);
        ++valutazioni;
        f.operandiRotture(x[k], std::span(o).subspan(k * n, n));
    }
    std::vector<Operando> uno(n);
    const auto operando = [&](std::size_t i, double t) {
        avanza(NAN);
        ++valutazioni;
        f.operandiRotture(t, uno);
        return uno[i];
    };
    const auto radice = [&](auto &&g, double lo, double hi, double glo, double ghi) {
        std::uintmax_t iterazioni = 60;
        const auto r = boost::math::tools::toms748_solve(
                g, lo, hi, glo, ghi, boost::math::tools::eps_tolerance<double>(50), iterazioni);
        return r.first + (r.second - r.first) / 2;
    };
    std::vector<double> livelli;
    for (std::size_t i = 0; i < n && punti.size() < kMaxPuntiRottura; ++i) {
        // The scale of the operand on the piece, for telling a touch.
        double scala = 0;
        for (std::size_t k = 0; k <= campioni; ++k)
            if (std::isfinite(o[k * n + i].u))
                scala = std::max(scala, std::fabs(o[k * n + i].u));
        for (std::size_t k = 0; k < campioni && punti.size() < kMaxPuntiRottura; ++k) {
            const Operando p = o[k * n + i], q = o[(k + 1) * n + i];
            if (!std::isfinite(p.u) || !std::isfinite(q.u))
                continue;
            livelli.clear();
            livelliTra(rotture[i], p.u, q.u, kMaxPuntiRottura - punti.size(), livelli);
            for (const double l : livelli) {
                if (p.u == l)
                    punti.push_back(x[k]);
                else if (q.u != l) {
                    const auto g = [&](double t) {
                        const double u = operando(i, t).u;
                        return std::isfinite(u) ? u - l : q.u - l;
                    };
                    punti.push_back(radice(g, x[k], x[k + 1], p.u - l, q.u - l));
                }
            }
            // A touch: the operand turns between the two samples, close to a level.
            if (livelli.empty() && std::isfinite(p.du) && std::isfinite(q.du) && p.du * q.du < 0) {
                const auto g = [&](double t) {
                    const double du = operando(i, t).du;
                    return std::isfinite(du) ? du : q.du;
                };
                const double t = radice(g, x[k], x[k + 1], p.du, q.du);
                const double u = operando(i, t).u;
                livelli.clear();
                livelliTra(rotture[i], u - 1e-9 * scala, u + 1e-9 * scala, 1, livelli);
                if (!livelli.empty())
                    punti.push_back(t);
            }
        }
    }
    // One point for those a few rounding errors apart (a level found at a
    // sample and again by a touch), none at the ends.
    std::sort(punti.begin(), punti.end());
    const auto vicini = [](double s, double t) {
        return t - s <= 16 * std::numeric_limits<double>::epsilon() * std::fabs(t);
    };
    punti.erase(std::unique(punti.begin(), punti.end(), vicini), punti.end());
    std::erase_if(punti, [&](double t) { return vicini(da, t) || vicini(t, a); });
    return punti;
}

// The integral over the pieces, each split at the points where f may break,
// then globally adaptive: the stretch with the largest error is halved
// until the errors together are within the tolerance of the integral of
// |f|, or the work runs out.
struct Somma
{
    double valore = 0;
    double assoluto = 0;
    bool converge = true;
};

Somma integraPezzi(Funzione &f, const std::vector<Pezzo> &pezzi)
{
    std::size_t valutazioni = 0;
    const auto piuErrato = [](const Tratto &p, const Tratto &q) {
        return p.errore < q.errore;
    };
    std::vector<Tratto> tratti; // a heap by errore
    double errore = 0, assoluto = 0;
    const auto aggiungi = [&](double da, double a) {
        const Tratto t = tanhSinh(f, da, a, valutazioni);
        errore += t.errore;
        assoluto += t.assoluto;
        tratti.push_back(t);
        std::push_heap(tratti.begin(), tratti.end(), piuErrato);
    };
    double lunghezza = 0;
    for (const Pezzo &p : pezzi)
        if (p.a > p.da)
            lunghezza += p.a - p.da;
    for (const Pezzo &p : pezzi) {
        if (!(p.a > p.da))
            continue;
        const auto campioni = std::clamp(
                static_cast<std::size_t>(std::ceil(kCampioniTutti * (p.a - p.da) / lunghezza)),
                kMinCampioni, kCampioniPezzo);
        double da = p.da;
        for (const double t : puntiRottura(f, p.da, p.a, campioni, valutazioni)) {
            aggiungi(da, t);
            da = t;
        }
        aggiungi(da, p.a);
    }
    bool converge = true;
    while (!tratti.empty() && errore > kTolleranza * assoluto) {
        std::pop_heap(tratti.begin(), tratti.end(), piuErrato);
        const Tratto t = tratti.back();
        const double m = t.da + (t.a - t.da) / 2;
        if (valutazioni > kMaxValutazioni || !(m > t.da && m < t.a)) {
            converge = false;
            std::push_heap(tratti.begin(), tratti.end(), piuErrato);
            break;
        }
        tratti.pop_back();
        errore -= t.errore;
        assoluto -= t.assoluto;
        aggiungi(t.da, m);
        aggiungi(m, t.a);
    }
    // Summed afresh, in order of x: the running sums above only steer.
    std::sort(tratti.begin(), tratti.end(),
              [](const Tratto &p, const Tratto &q) { return p.da < q.da; });
    Somma s;
    for (const Tratto &t : tratti) {
        s.valore += t.valore;
        s.assoluto += t.assoluto;
    }
    s.converge = converge;
    return s;
}

// True when the integral of |f| diverges at x, approached from side lato:
// |f| grows there like a power of the distance of exponent 1 or more (1/x),
// where an integrable singularity grows more slowly (1/Sqr(x), Log(x)).
bool diverge(Funzione &f, double x, int lato, double lunghezza)
{
    const double d1 = lunghezza * 1e-6, d2 = lunghezza * 1e-9;
    const Valutazione v1 = f.Valuta(x + lato * d1), v2 = f.Valuta(x + lato * d2);
    if (!v1.ok() || !v2.ok() || v1.valore == 0)
        return true; // cannot be told apart from a pole
    const double esponente = std::log(std::fabs(v2.valore / v1.valore)) / std::log(d1 / d2);
    return esponente >= 0.98;
}

} // namespace

Integrale integra(Funzione &f, const Studio &studio, double a, double b)
{
    Integrale r;
    if (!studio.eseguito)
        return r;
    if (studio.pezzi.empty()) {
        r.esito = Integrale::Esito::NonDefinita;
        return r;
    }
    for (const Pezzo &p : studio.pezzi) {
        const double lunghezza = std::max(p.a - p.da, std::fabs(p.da) * 1e-15);
        if (p.illimitataDa && diverge(f, p.da, +1, lunghezza)) {
            r.esito = Integrale::Esito::NonConverge;
            r.xIllimitata = p.da;
            return r;
        }
        if (p.illimitataA && diverge(f, p.a, -1, lunghezza)) {
            r.esito = Integrale::Esito::NonConverge;
            r.xIllimitata = p.a;
            return r;
        }
    }
    const Somma s = integraPezzi(f, studio.pezzi);
    r.valore = s.valore;
    const double assoluto = s.assoluto;
    r.preciso = s.converge;
    // What is left where positive and negative parts cancel (x on -1..1)
    // is below the quadrature's error: 0, not 2.8E-17.
    if (std::isfinite(assoluto) && std::fabs(r.valore) <= kTolleranza * assoluto)
        r.valore = 0;
    // Undefined at single points only (1/x at 0 where the integral exists,
    // Sin(x)/x): they take nothing away.
    const bool parte
            = std::any_of(studio.nonDefinita.begin(), studio.nonDefinita.end(),
                          [&](const Intervallo &i) { return i.a - i.da > 1e-9 * (b - a); });
    if (parte)
        r.esito = Integrale::Esito::ParzialmenteDefinita;
    return r;
}

std::string testoNonDefinita(const std::vector<Intervallo> &parti, char separatoreDecimale)
{
    std::string t;
    for (std::size_t i = 0; i < parti.size() && i < 3; ++i) {
        if (i > 0)
            t += ", ";
        const Intervallo &p = parti[i];
        if (p.da == p.a)
            t += "x = " + testoNumero(p.da, separatoreDecimale);
        else
            t += "[" + testoNumero(p.da, separatoreDecimale) + "; "
                    + testoNumero(p.a, separatoreDecimale) + "]";
    }
    if (parti.size() > 3)
        t += ", …";
    return t;
}

EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};
    const double a = stato.estremoA, b = stato.estremoB;
    if (a > b)
        return {"nessun campione", "a > b: nessun campione, nessun integrale"};
    const Studio s = studia(funzione, a, b, separatoreDecimale);
    const Integrale i = integra(funzione, s, a, b);
    const auto numero = [&](double v) {
        return testoNumero(v, separatoreDecimale);
    };
    switch (i.esito) {
    case Integrale::Esito::NonDefinita:
        return {std::string(kNonDefinita),
                "f non definita in tutto [" + numero(a) + "; " + numero(b) + "]: nessun integrale"};
    case Integrale::Esito::NonConverge: {
        // Named by its asymptote (0 for 1/x, not the last double before it
        // overflows).
        double x = i.xIllimitata;
        for (const double v : s.asintotiVerticali)
            if (std::fabs(v - i.xIllimitata) < std::fabs(x - i.xIllimitata) + 1e-9 * (b - a))
                x = v;
        return {"non converge", "l'integrale non converge: f illimitata vicino a x = " + numero(x)};
    }
    case Integrale::Esito::ParzialmenteDefinita: {
        std::string dove;
        for (const Pezzo &p : s.pezzi)
            dove += (dove.empty() ? "[" : " e [") + numero(p.da) + "; " + numero(p.a) + "]";
        return {"non definita",
                "f non definita in " + testoNonDefinita(s.nonDefinita, separatoreDecimale)
                        + ": l'integrale dove è definita, su " + dove + ", vale "
                        + numero(i.valore)};
    }
    case Integrale::Esito::Valore:
        break;
    }
    std::string nota;
    if (!s.nonDefinita.empty())
        nota = "f non definita in " + testoNonDefinita(s.nonDefinita, separatoreDecimale)
                + ": punti isolati, che non cambiano l'integrale";
    if (!i.preciso)
        nota += std::string(nota.empty() ? "" : "; ")
                + "f varia troppo in fretta: l'integrale potrebbe non avere tutte le cifre esatte";
    return {numero(i.valore), nota, true};
}

} // namespace zelvo
