// The numeric program run over a block of x at once.
//
// Every value here is computed by the same operation, on the same operands,
// as in a single run, only several lanes at a time, so the bits are the
// same. What may fail is not branched on per sample: an operation computed
// in lanes fails only with a non-finite value (a / 0, 0 / 0, an overflow),
// so it only ORs a test for non-finite values into one mask; the others run
// their scalar form sample by sample and mark a failure in the same mask. A
// block where some sample failed, rare in a plot, runs again sample by
// sample, which gives each failure its own first error.

#include "engine/ProgrammaBlocco.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zelvo {

namespace {

using namespace corsie;
using operazioni::Op;

static_assert(ProgrammaBlocco::kBlocco % kCorsie == 0);

template<class R>
concept ConCorsie = requires(Vd v)
{
    R::corsie(v, v);
};

// a ^ N: the exact power in lanes, rounded once where pow cannot round it
// otherwise (reale::potenzaEsatta), pow for the few others.
template<int N>
ZELVO_IN_LINEA void potenzaIntera(const double *a, double *r, std::size_t n, Vi &guasto) noexcept
{
    std::int64_t esatte[ProgrammaBlocco::kBlocco];
    Vi tutte = ~Vi {};
    for (std::size_t i = 0; i < n; i += kCorsie) {
        Vi esatta;
        salva(r + i, reale::potenzaEsatta<N>(carica(a + i), esatta));
        std::memcpy(esatte + i, &esatta, sizeof esatta);
        tutte &= esatta;
    }
    if (qualcuna(~tutte))
        for (std::size_t i = 0; i < n; ++i)
            if (esatte[i] == 0)
                r[i] = reale::potenzaC(a[i], N);
    for (std::size_t i = 0; i < n; i += kCorsie)
        guasto |= nonFinito(carica(r + i));
}

template<class R>
concept Potenza = requires
{
    R::esponente;
};

// One row of the table over a block.
template<class R>
ZELVO_IN_LINEA void blocco(const double *a, const double *b, double *r, std::size_t n,
                           Vi &guasto) noexcept
{
    if constexpr (Potenza<R>) {
        potenzaIntera<R::esponente>(a, r, n, guasto);
    } else if constexpr (ConCorsie<R>) {
        for (std::size_t i = 0; i < n; i += kCorsie) {
            const Vd v = R::corsie(carica(a + i), carica(b + i));
            salva(r + i, v);
            guasto |= nonFinito(v);
        }
    } else {
        std::int64_t fallito = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double v = 0;
            fallito |= R::scalare(a[i], b[i], v);
            r[i] = v;
        }
        guasto[0] |= fallito;
    }
}

// n samples rounded up to whole lanes.
constexpr std::size_t corsiePiene(std::size_t n) noexcept
{
    return (n + kCorsie - 1) / kCorsie * kCorsie;
}

// x where the lanes read it: where it lies, or, for a block that does not
// fill its last lanes, copied to `copia` with those lanes repeating the last
// x, so they compute ordinary values.
ZELVO_IN_LINEA const double *xInCorsie(const double *x, std::size_t n, double *copia) noexcept
{
    const std::size_t nc = corsiePiene(n);
    if (nc == n)
        return x;
    std::copy(x, x + n, copia);
    std::fill(copia + n, copia + nc, x[n - 1]);
    return copia;
}

ZELVO_IN_LINEA void segnaNonFiniti(const double *r, std::size_t n, Vi &guasto) noexcept
{
    for (std::size_t i = 0; i < n; i += kCorsie)
        guasto |= nonFinito(carica(r + i));
}

// Sample by sample, each failure with its own first error.
std::size_t unoAllaVolta(ProgrammaNumerico &p, const double *x, std::size_t n, double *y,
                         int *errori) noexcept
{
    std::size_t falliti = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // No Variant holds a non-finite x: the run fails as a single one would.
        const Valutazione v
                = std::isfinite(x[i]) ? p.esegui(x[i]) : Valutazione {0.0, ErroreOverflow};
        y[i] = v.valore;
        errori[i] = v.errore;
        falliti += v.errore != Nessuno;
    }
    return falliti;
}

void derivateUnaAllaVolta(ProgrammaNumerico &p, const double *x, std::size_t n,
                          Derivate *d) noexcept
{
    for (std::size_t i = 0; i < n; ++i)
        d[i] = std::isfinite(x[i]) ? p.eseguiDerivate(x[i])
                                   : Derivate {0.0, NAN, NAN, ErroreOverflow, false};
}

} // namespace

// Gives every register of the numeric program a block of memoria_.
void ProgrammaBlocco::compila(const ProgrammaNumerico &p)
{
    *this = ProgrammaBlocco {};
    const std::uint32_t fissi = p.primoRisultato(); // x and the constants
    const std::span<const double> registri = p.registri();
    std::vector<std::uint32_t> blocco(registri.size(), 0); // register -> block
    for (std::uint32_t k = 0; k < fissi; ++k)
        blocco[k] = k;
    std::vector<std::uint32_t> liberi;
    std::uint32_t blocchi = fissi;
    const auto rilascia = [&](std::uint32_t registro) {
        if (registro >= fissi)
            liberi.push_back(blocco[registro]);
    };
    const std::span<const ProgrammaNumerico::Passo> passi = p.passi();
    for (std::size_t j = 0; j < passi.size(); ++j) {
        const ProgrammaNumerico::Passo &pn = passi[j];
        Passo q {pn.op, blocco[pn.a], blocco[pn.b], 0};
        // The result never shares a block with its operands: a power reads
        // its operand again after writing the result.
        if (liberi.empty()) {
            q.r = blocchi++;
        } else {
            q.r = liberi.back();
            liberi.pop_back();
        }
        rilascia(pn.a);
        rilascia(pn.b); // register 0 (x) for an operation of one operand
        blocco[fissi + j] = q.r;
        passi_.push_back(q);
    }
    risultato_ = blocco[p.risultato()];
    // Each block holds 2 KiB: a function with very many constants or very
    // deep nesting runs sample by sample instead, so its memory stays
    // proportional to its text.
    pronto_ = blocchi <= kMaxBlocchi;
    if (!pronto_) {
        passi_.clear();
        memoria_.clear();
        return;
    }
    memoria_.assign(static_cast<std::size_t>(blocchi) * kBlocco, 0.0);
    derivata1_.clear();
    derivata2_.clear();
    for (std::uint32_t k = 1; k < fissi; ++k)
        std::fill_n(memoria_.begin() + static_cast<std::ptrdiff_t>(k * kBlocco), kBlocco,
                    registri[k]);
}

// Compiled twice where the compiler can choose at run time: for AVX2, four
// lanes in one register, and for any x86-64 processor.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("avx2", "default")]]
#endif
std::size_t
ProgrammaBlocco::esegui(ProgrammaNumerico &p, const double *x, std::size_t n, double *y,
                        int *errori) noexcept
{
    if (!pronto_) [[unlikely]]
        return unoAllaVolta(p, x, n, y, errori);
    double *const m = memoria_.data();
    const auto bloccoDi = [m](std::uint32_t b) {
        return m + static_cast<std::size_t>(b) * kBlocco;
    };

    const std::size_t nc = corsiePiene(n);
    const double *xb = xInCorsie(x, n, m);
    const auto operando = [&](std::uint32_t b) {
        return b == 0 ? xb : bloccoDi(b);
    };
    Vi guasto {}; // not 0 in a lane where some step failed
    segnaNonFiniti(xb, nc, guasto);

    for (const Passo &q : passi_) {
        const double *a = operando(q.a);
        const double *b = operando(q.b);
        double *r = bloccoDi(q.r);
        switch (q.op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome:                                                                                 \
        blocco<operazioni::riga::Nome>(a, b, r, nc, guasto);                                       \
        break;
            ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
        }
    }

    if (qualcuna(guasto)) [[unlikely]]
        return unoAllaVolta(p, x, n, y, errori);
    const double *risultato = operando(risultato_);
    std::copy(risultato, risultato + n, y);
    std::fill(errori, errori + n, 0);
    return 0;
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("avx2", "default")]]
#endif
void ProgrammaBlocco::eseguiDerivate(ProgrammaNumerico &p, const double *x, std::size_t n,
                                     Derivate *d) noexcept
{
    if (!pronto_) [[unlikely]]
        return derivateUnaAllaVolta(p, x, n, d);
    if (derivata1_.empty()) {
        derivata1_.assign(memoria_.size(), 0.0);
        derivata2_.assign(memoria_.size(), 0.0);
        std::fill_n(derivata1_.begin(), kBlocco, 1.0); // dx/dx
    }
    double *const m = memoria_.data();
    double *const m1 = derivata1_.data();
    double *const m2 = derivata2_.data();
    const auto in = [](double *memoria, std::uint32_t b) {
        return memoria + static_cast<std::size_t>(b) * kBlocco;
    };

    // Block 0 of the derivatives always holds x's.
    const std::size_t nc = corsiePiene(n);
    const double *xb = xInCorsie(x, n, m);
    Vi guasto {};
    segnaNonFiniti(xb, nc, guasto);
    bool angolo[kBlocco] = {};

    for (const Passo &q : passi_) {
        const double *a = q.a == 0 ? xb : in(m, q.a);
        const double *b = q.b == 0 ? xb : in(m, q.b);
        const double *a1 = in(m1, q.a), *a2 = in(m2, q.a);
        const double *b1 = in(m1, q.b), *b2 = in(m2, q.b);
        double *r = in(m, q.r), *r1 = in(m1, q.r), *r2 = in(m2, q.r);
        switch (q.op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome: {                                                                               \
        using Riga = operazioni::riga::Nome;                                                       \
        blocco<Riga>(a, b, r, nc, guasto);                                                         \
        for (std::size_t i = 0; i < nc; ++i) {                                                     \
            const Getto g                                                                          \
                    = Riga::derivata({a[i], a1[i], a2[i]}, {b[i], b1[i], b2[i]}, r[i], angolo[i]); \
            r1[i] = g.d1;                                                                          \
            r2[i] = g.d2;                                                                          \
        }                                                                                          \
        break;                                                                                     \
    }
            ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
        }
    }

    // A failure anywhere in the block: its errors come one sample at a time.
    if (qualcuna(guasto)) [[unlikely]]
        return derivateUnaAllaVolta(p, x, n, d);
    const std::uint32_t k = risultato_;
    const double *v = k == 0 ? xb : in(m, k);
    const double *v1 = in(m1, k), *v2 = in(m2, k);
    for (std::size_t i = 0; i < n; ++i) {
        const bool finite = std::isfinite(v1[i]) && std::isfinite(v2[i]);
        d[i] = {v[i], v1[i], v2[i], Nessuno, !angolo[i] && finite};
    }
}

} // namespace zelvo
