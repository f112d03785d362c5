// The numeric program run over a block of x at once.
//
// Every value here is computed by the same IEEE operation, on the same
// operands, as in the step-by-step program, only several lanes at a time, so
// the bits are the same. What may fail is not branched on per sample: every
// failure of a step leaves a non-finite value in its lane (a / 0, 0 / 0, Sqr
// and Log of a negative, an overflow), so each step that may fail only ORs a
// test for non-finite values into one mask. A block where some lane failed,
// rare in a plot, runs again sample by sample, which gives each failure its
// own first error.

#include "engine/Programma.h"

#include "engine/Numerico.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// The vectors below never cross a function boundary: every helper is inlined.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace zelvo {

namespace {

// Four lanes: one AVX register, or two SSE2 ones on a processor without AVX2
// (the compiler splits each operation), or plain quadruples elsewhere.
typedef double Vd __attribute__((vector_size(32)));
typedef std::int64_t Vi __attribute__((vector_size(32)));
constexpr std::size_t kCorsie = sizeof(Vd) / sizeof(double);
static_assert(Programma::kBlocco % kCorsie == 0);

#define ZELVO_IN_LINEA [[gnu::always_inline]] inline

ZELVO_IN_LINEA Vd carica(const double *p) noexcept
{
    Vd v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

ZELVO_IN_LINEA void salva(double *p, Vd v) noexcept
{
    std::memcpy(p, &v, sizeof v);
}

ZELVO_IN_LINEA Vd tutti(double k) noexcept
{
    return Vd {} + k;
}

ZELVO_IN_LINEA Vi come(Vd v) noexcept
{
    return reinterpret_cast<Vi>(v);
}

ZELVO_IN_LINEA Vd come(Vi v) noexcept
{
    return reinterpret_cast<Vd>(v);
}

ZELVO_IN_LINEA Vd assoluto(Vd v) noexcept
{
    return come(come(v) & 0x7FFFFFFFFFFFFFFF);
}

// All ones in the lanes whose value is not finite (reale::finito false).
ZELVO_IN_LINEA Vi nonFinito(Vd v) noexcept
{
    return ~(assoluto(v) <= tutti(DBL_MAX));
}

ZELVO_IN_LINEA bool qualcuna(Vi m) noexcept
{
    Vi o = m;
    for (std::size_t k = 1; k < kCorsie; ++k)
        o[0] |= m[k];
    return o[0] != 0;
}

// reale::lontanoDalMezzo, lane by lane: all ones where it holds. Only
// floating-point compares, which SSE2 has for 64-bit lanes.
ZELVO_IN_LINEA Vi lontanoDalMezzo(Vd hi, Vd resto, Vd soglia) noexcept
{
    const Vd potenza = come(come(hi) & 0x7FF0000000000000);
    const Vd ulp = potenza * tutti(0x1p-52);
    const Vi potenzaDi2 = assoluto(hi) == potenza;
    const Vd passo = come((come(ulp) & ~potenzaDi2) | (come(ulp * tutti(0.5)) & potenzaDi2));
    return assoluto(resto) <= soglia * passo;
}

ZELVO_IN_LINEA Vi entro(Vd a, double minimo, double massimo) noexcept
{
    const Vd m = assoluto(a);
    return (m >= tutti(minimo)) & (m <= tutti(massimo));
}

// reale::sogliaPotenza, lane by lane.
ZELVO_IN_LINEA Vd sogliaPotenza(Vd a) noexcept
{
    const Vi vicina = entro(a, 0x1p-16, 0x1p16);
    return come((come(tutti(0.487)) & vicina) | (come(tutti(0.45)) & ~vicina));
}

// a^2 (cubo false) or a^3 as reale::quadrato and reale::cubo give them: the
// exact power rounded once in the lanes far from a rounding boundary, pow
// for the few others.
ZELVO_IN_LINEA void potenzaPiccola(bool cubo, const double *a, double *r, std::size_t n,
                                   Vi &guasto) noexcept
{
    std::int64_t serve[Programma::kBlocco]; // the lanes that need pow
    Vi qualcuno {};
    for (std::size_t i = 0; i < n; i += kCorsie) {
        const Vd x = carica(a + i);
        Vd v;
        Vi vicino;
        if (cubo) {
            Vd h2, l2, h3, l3;
            reale::prodottoEsatto(x, x, h2, l2);
            reale::prodottoEsatto(h2, x, h3, l3);
            const Vd resto = l3 + l2 * x;
            v = h3 + resto;
            const Vd t = resto - (v - h3);
            vicino = ~(entro(x, 0x1p-300, 0x1p300) & lontanoDalMezzo(v, t, sogliaPotenza(x)));
        } else {
            Vd lo;
            reale::prodottoEsatto(x, x, v, lo);
            vicino = ~(entro(x, 0x1p-450, 0x1p450) & lontanoDalMezzo(v, lo, sogliaPotenza(x)));
        }
        salva(r + i, v);
        std::memcpy(serve + i, &vicino, sizeof vicino);
        qualcuno |= vicino;
        guasto |= nonFinito(v);
    }
    if (qualcuna(qualcuno)) {
        const double esponente = cubo ? 3.0 : 2.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (serve[i] != 0) {
                r[i] = reale::potenzaC(a[i], esponente);
                if (!reale::finito(r[i]))
                    guasto[0] = -1;
            }
        }
    }
}

template<class Op>
ZELVO_IN_LINEA void binaria(const double *a, const double *b, double *r, std::size_t n, Vi &guasto,
                            Op op) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie) {
        const Vd v = op(carica(a + i), carica(b + i));
        salva(r + i, v);
        guasto |= nonFinito(v);
    }
}

template<class Op>
ZELVO_IN_LINEA void corsie(const double *a, double *r, std::size_t n, Op op) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie)
        salva(r + i, op(carica(a + i)));
}

// One library call per sample, for the functions no lane can compute.
template<class Op>
ZELVO_IN_LINEA void perCampione(const double *a, double *r, std::size_t n, Op op) noexcept
{
    for (std::size_t i = 0; i < n; ++i)
        r[i] = op(a[i]);
}

ZELVO_IN_LINEA void segnaNonFiniti(const double *r, std::size_t n, Vi &guasto) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie)
        guasto |= nonFinito(carica(r + i));
}

} // namespace

// Sample by sample, each failure with its own first error.
std::size_t Programma::unoAllaVolta(const double *x, std::size_t n, double *y, int *errori) noexcept
{
    std::size_t falliti = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double v = 0;
        // No Variant holds a non-finite x: the run fails as a single one would.
        const int e = std::isfinite(x[i]) ? eseguiNumerico(x[i], v) : ErroreOverflow;
        y[i] = e != Nessuno ? 0.0 : v;
        errori[i] = e;
        falliti += e != Nessuno;
    }
    return falliti;
}

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
    // Each block holds 2 KiB: a function with very many constants or very
    // deep nesting runs sample by sample instead, so its memory stays
    // proportional to its text.
    bloccoPronto_ = blocchi <= kMaxBlocchi;
    if (!bloccoPronto_) {
        passiBlocco_.clear();
        memoria_.clear();
        return;
    }
    memoria_.assign(static_cast<std::size_t>(blocchi) * kBlocco, 0.0);
    for (std::uint32_t k = 1; k < fissi; ++k)
        std::fill_n(memoria_.begin() + static_cast<std::ptrdiff_t>(k * kBlocco), kBlocco,
                    registri_[k]);
}

// Compiled twice where the compiler can choose at run time: for AVX2, four
// lanes in one register, and for any x86-64 processor.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("avx2", "default")]]
#endif
std::size_t
Programma::eseguiBlocco(const double *x, std::size_t n, double *y, int *errori) noexcept
{
    if (!bloccoPronto_) [[unlikely]]
        return unoAllaVolta(x, n, y, errori);
    double *const m = memoria_.data();
    const auto bloccoDi = [m](std::uint32_t b) {
        return m + static_cast<std::size_t>(b) * kBlocco;
    };

    // x is read where it lies; a block that does not fill its last lanes is
    // copied, and those lanes repeat the last x, so they compute ordinary values.
    const std::size_t nc = (n + kCorsie - 1) / kCorsie * kCorsie;
    const double *xb = x;
    if (nc != n) {
        std::copy(x, x + n, m);
        std::fill(m + n, m + nc, x[n - 1]);
        xb = m;
    }
    const auto operando = [&](std::uint32_t b) {
        return b == 0 ? xb : bloccoDi(b);
    };
    Vi guasto {}; // all ones in a lane where some step failed
    segnaNonFiniti(xb, nc, guasto);

    for (const PassoBlocco &p : passiBlocco_) {
        const double *a = operando(p.a);
        const double *b = operando(p.b);
        double *r = bloccoDi(p.r);
        switch (p.op) {
        case OpNumerica::Somma:
            binaria(a, b, r, nc, guasto, [](Vd u, Vd v) { return u + v; });
            break;
        case OpNumerica::Differenza:
            binaria(a, b, r, nc, guasto, [](Vd u, Vd v) { return u - v; });
            break;
        case OpNumerica::Prodotto:
            binaria(a, b, r, nc, guasto, [](Vd u, Vd v) { return u * v; });
            break;
        case OpNumerica::Quoziente: // a / 0 is infinite or NaN: marked
            binaria(a, b, r, nc, guasto, [](Vd u, Vd v) { return u / v; });
            break;
        case OpNumerica::Potenza:
            for (std::size_t i = 0; i < nc; ++i) {
                double v = 0;
                if (reale::potenza(a[i], b[i], v) != Nessuno)
                    guasto[0] = -1;
                r[i] = v;
            }
            break;
        case OpNumerica::Quadrato:
            potenzaPiccola(false, a, r, nc, guasto);
            break;
        case OpNumerica::Cubo:
        case OpNumerica::CuboFma: // the same exact values, so the same bits
            potenzaPiccola(true, a, r, nc, guasto);
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
            segnaNonFiniti(r, nc, guasto);
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
            segnaNonFiniti(r, nc, guasto);
            break;
        case OpNumerica::Sin:
            perCampione(a, r, nc, [](double v) { return std::sin(v); });
            break;
        case OpNumerica::Sqr: // -0 is no negative: Sqr(-0) is -0, as sqrt gives
            perCampione(a, r, nc, [](double v) {
                return v >= 0 ? std::sqrt(v) : std::numeric_limits<double>::quiet_NaN();
            });
            segnaNonFiniti(r, nc, guasto);
            break;
        case OpNumerica::Tan:
            perCampione(a, r, nc, [](double v) { return std::tan(v); });
            break;
        }
    }

    if (qualcuna(guasto)) [[unlikely]]
        return unoAllaVolta(x, n, y, errori);
    const double *risultato = operando(bloccoRisultato_);
    std::copy(risultato, risultato + n, y);
    std::fill(errori, errori + n, 0);
    return 0;
}

} // namespace zelvo
