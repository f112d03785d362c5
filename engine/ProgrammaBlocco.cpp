// The numeric program run over a block of x at once.
//
// Every value here is computed by the same IEEE operation, on the same
// operands, as in the step-by-step program, only several lanes at a time, so
// the bits are the same. What may fail is not branched on per sample: each
// lane keeps a mask of "some step failed", and only the lanes marked at the
// end run again step by step, which gives their first error. Every failure
// of a step leaves a non-finite value in its lane (a / 0, 0 / 0, Sqr and Log
// of a negative, an overflow), so one test for non-finite values marks them.

#include "engine/Programma.h"

#include "engine/Numerico.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace zelvo {

namespace {

// Two lanes: SSE2, which every x86-64 processor has; plain pairs elsewhere.
typedef double Vd __attribute__((vector_size(16)));
typedef std::int64_t Vi __attribute__((vector_size(16)));
constexpr std::size_t kCorsie = sizeof(Vd) / sizeof(double);
static_assert(Programma::kBlocco % kCorsie == 0);

inline Vd carica(const double *p) noexcept
{
    Vd v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void salva(double *p, Vd v) noexcept
{
    std::memcpy(p, &v, sizeof v);
}

inline Vi caricaMaschera(const std::int64_t *p) noexcept
{
    Vi v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void salvaMaschera(std::int64_t *p, Vi v) noexcept
{
    std::memcpy(p, &v, sizeof v);
}

inline Vd tutti(double k) noexcept
{
    return Vd {} + k;
}

inline Vd assoluto(Vd v) noexcept
{
    return reinterpret_cast<Vd>(reinterpret_cast<Vi>(v) & 0x7FFFFFFFFFFFFFFF);
}

// All ones in the lanes whose value is not finite (reale::finito false).
inline Vi nonFinito(Vd v) noexcept
{
    return ~(assoluto(v) <= tutti(DBL_MAX));
}

// The exact product a * b = hi + lo, as reale::prodottoEsatto computes it.
inline void prodottoEsatto(Vd a, Vd b, Vd &hi, Vd &lo) noexcept
{
    const Vd spezza = tutti(134217729.0); // 2^27 + 1
    hi = a * b;
    const Vd ca = spezza * a;
    const Vd ah = ca - (ca - a);
    const Vd al = a - ah;
    const Vd cb = spezza * b;
    const Vd bh = cb - (cb - b);
    const Vd bl = b - bh;
    lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// reale::lontanoDalMezzo, lane by lane: all ones where it holds. Only
// floating-point compares, which SSE2 has for 64-bit lanes.
inline Vi lontanoDalMezzo(Vd hi, Vd resto, Vd soglia) noexcept
{
    const Vd potenza = reinterpret_cast<Vd>(reinterpret_cast<Vi>(hi) & 0x7FF0000000000000);
    const Vd ulp = potenza * tutti(0x1p-52);
    const Vi potenzaDi2 = assoluto(hi) == potenza;
    const Vd passo = reinterpret_cast<Vd>((reinterpret_cast<Vi>(ulp) & ~potenzaDi2)
                                          | (reinterpret_cast<Vi>(ulp * tutti(0.5)) & potenzaDi2));
    return assoluto(resto) <= soglia * passo;
}

inline Vi entro(Vd a, double minimo, double massimo) noexcept
{
    const Vd m = assoluto(a);
    return (m >= tutti(minimo)) & (m <= tutti(massimo));
}

// reale::sogliaPotenza, lane by lane.
inline Vd sogliaPotenza(Vd a) noexcept
{
    const Vi vicina = entro(a, 0x1p-16, 0x1p16);
    return reinterpret_cast<Vd>((reinterpret_cast<Vi>(tutti(0.487)) & vicina)
                                | (reinterpret_cast<Vi>(tutti(0.45)) & ~vicina));
}

// a^2 (cubo false) or a^3 as reale::quadrato and reale::cubo give them: the
// exact power rounded once in the lanes far from a rounding boundary, pow
// for the few others.
void potenzaPiccola(bool cubo, const double *a, double *r, std::int64_t *guasti,
                    std::size_t n) noexcept
{
    std::int64_t serve[Programma::kBlocco]; // the lanes that need pow
    Vi qualcuno {};
    for (std::size_t i = 0; i < n; i += kCorsie) {
        const Vd x = carica(a + i);
        Vd v;
        Vi vicino;
        if (cubo) {
            Vd h2, l2, h3, l3;
            prodottoEsatto(x, x, h2, l2);
            prodottoEsatto(h2, x, h3, l3);
            const Vd resto = l3 + l2 * x;
            v = h3 + resto;
            const Vd t = resto - (v - h3);
            vicino = ~(entro(x, 0x1p-300, 0x1p300) & lontanoDalMezzo(v, t, sogliaPotenza(x)));
        } else {
            Vd lo;
            prodottoEsatto(x, x, v, lo);
            vicino = ~(entro(x, 0x1p-450, 0x1p450) & lontanoDalMezzo(v, lo, sogliaPotenza(x)));
        }
        salva(r + i, v);
        salvaMaschera(serve + i, vicino);
        qualcuno |= vicino;
    }
    if ((qualcuno[0] | qualcuno[1]) != 0) {
        const double esponente = cubo ? 3.0 : 2.0;
        for (std::size_t i = 0; i < n; ++i)
            if (serve[i] != 0)
                r[i] = reale::potenzaC(a[i], esponente);
    }
    for (std::size_t i = 0; i < n; i += kCorsie)
        salvaMaschera(guasti + i, caricaMaschera(guasti + i) | nonFinito(carica(r + i)));
}

template<class Op>
inline void binaria(const double *a, const double *b, double *r, std::int64_t *guasti,
                    std::size_t n, Op op) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie) {
        const Vd v = op(carica(a + i), carica(b + i));
        salva(r + i, v);
        salvaMaschera(guasti + i, caricaMaschera(guasti + i) | nonFinito(v));
    }
}

template<class Op> inline void corsie(const double *a, double *r, std::size_t n, Op op) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie)
        salva(r + i, op(carica(a + i)));
}

// One library call per sample, for the functions no lane can compute.
template<class Op> inline void perCampione(const double *a, double *r, std::size_t n, Op op) noexcept
{
    for (std::size_t i = 0; i < n; ++i)
        r[i] = op(a[i]);
}

inline void segnaNonFiniti(const double *r, std::int64_t *guasti, std::size_t n) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie)
        salvaMaschera(guasti + i, caricaMaschera(guasti + i) | nonFinito(carica(r + i)));
}

} // namespace

// Gives every register of the step-by-step program a block of memoria_.
void Programma::compilaBlocco()
{
    passiBlocco_.clear();
    const std::uint32_t fissi = primoRisultato_; // x and the constants
    std::vector<std::uint32_t> blocco(registri_.size(), 0); // register -> block
    for (std::uint32_t k = 0; k < fissi; ++k)
        blocco[k] = k;
    std::vector<std::uint32_t> liberi;
    std::uint32_t blocchi = fissi;
    const auto rilascia = [&](std::uint32_t registro) {
        if (registro >= fissi)
            liberi.push_back(blocco[registro]);
    };
    for (std::size_t j = 0; j < numerici_.size(); ++j) {
        const PassoNumerico &p = numerici_[j];
        PassoBlocco q {p.op, blocco[p.a], blocco[p.b], 0};
        // The result never shares a block with its operands: a^2 and a^3
        // read a again after writing the result.
        if (liberi.empty()) {
            q.r = blocchi++;
        } else {
            q.r = liberi.back();
            liberi.pop_back();
        }
        rilascia(p.a);
        const bool binaria = p.op == OpNumerica::Somma || p.op == OpNumerica::Differenza
                || p.op == OpNumerica::Prodotto || p.op == OpNumerica::Quoziente
                || p.op == OpNumerica::Potenza;
        if (binaria)
            rilascia(p.b);
        blocco[primoRisultato_ + j] = q.r;
        passiBlocco_.push_back(q);
    }
    bloccoRisultato_ = blocco[risultato_];
    memoria_.assign(static_cast<std::size_t>(blocchi) * kBlocco, 0.0);
    for (std::uint32_t k = 1; k < fissi; ++k)
        std::fill_n(memoria_.begin() + static_cast<std::ptrdiff_t>(k * kBlocco), kBlocco,
                    registri_[k]);
}

void Programma::eseguiBlocco(const double *x, std::size_t n, Valutazione *out) noexcept
{
    double *const m = memoria_.data();
    const auto bloccoDi = [m](std::uint32_t b) { return m + static_cast<std::size_t>(b) * kBlocco; };

    // The lanes past n repeat the last x, so they compute ordinary values.
    const std::size_t nc = (n + kCorsie - 1) / kCorsie * kCorsie;
    std::copy(x, x + n, m);
    std::fill(m + n, m + nc, x[n - 1]);
    alignas(16) std::int64_t guasti[kBlocco];
    std::fill_n(guasti, nc, 0);

    for (const PassoBlocco &p : passiBlocco_) {
        const double *a = bloccoDi(p.a);
        const double *b = bloccoDi(p.b);
        double *r = bloccoDi(p.r);
        switch (p.op) {
        case OpNumerica::Somma:
            binaria(a, b, r, guasti, nc, [](Vd u, Vd v) { return u + v; });
            break;
        case OpNumerica::Differenza:
            binaria(a, b, r, guasti, nc, [](Vd u, Vd v) { return u - v; });
            break;
        case OpNumerica::Prodotto:
            binaria(a, b, r, guasti, nc, [](Vd u, Vd v) { return u * v; });
            break;
        case OpNumerica::Quoziente: // a / 0 is infinite or NaN: marked
            binaria(a, b, r, guasti, nc, [](Vd u, Vd v) { return u / v; });
            break;
        case OpNumerica::Potenza:
            for (std::size_t i = 0; i < nc; ++i) {
                double v = 0;
                if (reale::potenza(a[i], b[i], v) != Nessuno) {
                    v = 0;
                    guasti[i] = -1;
                }
                r[i] = v;
            }
            break;
        case OpNumerica::Quadrato:
            potenzaPiccola(false, a, r, guasti, nc);
            break;
        case OpNumerica::Cubo:
        case OpNumerica::CuboFma: // the same exact values, so the same bits
            potenzaPiccola(true, a, r, guasti, nc);
            break;
        case OpNumerica::Meno:
            corsie(a, r, nc, [](Vd v) { return -v; });
            break;
        case OpNumerica::Abs:
            corsie(a, r, nc, [](Vd v) { return assoluto(v); });
            break;
        case OpNumerica::Atn:
            perCampione(a, r, nc, [](double v) { return std::atan(v); });
            break;
        case OpNumerica::Cos:
            perCampione(a, r, nc, [](double v) { return std::cos(v); });
            break;
        case OpNumerica::Exp:
            perCampione(a, r, nc, [](double v) { return std::exp(v); });
            segnaNonFiniti(r, guasti, nc);
            break;
        case OpNumerica::Fix:
            perCampione(a, r, nc, [](double v) { return std::trunc(v); });
            break;
        case OpNumerica::Int:
            perCampione(a, r, nc, [](double v) { return std::floor(v); });
            break;
        case OpNumerica::Log: // not called at a <= 0: NaN marks the lane
            perCampione(a, r, nc, [](double v) {
                return v > 0 ? std::log(v) : std::numeric_limits<double>::quiet_NaN();
            });
            segnaNonFiniti(r, guasti, nc);
            break;
        case OpNumerica::Sin:
            perCampione(a, r, nc, [](double v) { return std::sin(v); });
            break;
        case OpNumerica::Sqr: // -0 is no negative: Sqr(-0) is -0, as sqrt gives
            perCampione(a, r, nc, [](double v) {
                return v >= 0 ? std::sqrt(v) : std::numeric_limits<double>::quiet_NaN();
            });
            segnaNonFiniti(r, guasti, nc);
            break;
        case OpNumerica::Tan:
            perCampione(a, r, nc, [](double v) { return std::tan(v); });
            break;
        }
    }

    const double *y = bloccoDi(bloccoRisultato_);
    for (std::size_t i = 0; i < n; ++i) {
        if (guasti[i] == 0) [[likely]] {
            out[i] = Valutazione {y[i], 0};
        } else {
            double v = 0;
            const int e = eseguiControllato(x[i], v);
            out[i] = e != Nessuno ? Valutazione {0, e} : Valutazione {v, 0};
        }
    }
}

} // namespace zelvo
