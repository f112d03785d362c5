// The period the numeric program's structure gives F: each register is
// read as a constant, an affine k·x + c, a function of x through periodic
// operations only, or anything else.

#include "engine/ProgrammaNumerico.h"

#include <cmath>
#include <numbers>

namespace zelvo {

namespace {

using operazioni::Op;

// What a register holds, as a function of x.
struct Forma
{
    enum class Tipo : std::uint8_t {
        Costante,
        Affine, // k·x + c, k != 0 and finite
        Periodica, // x enters only through Sin, Cos or Tan of an affine
        Altro,
    };
    Tipo tipo = Tipo::Altro;
    double k = 0, c = 0;
};

constexpr Forma kAltro {};

Forma affine(double k, double c) noexcept
{
    if (k == 0 || !std::isfinite(k) || !std::isfinite(c))
        return kAltro; // x*0 is no longer a function of x the period can read
    return {Forma::Tipo::Affine, k, c};
}

// The period of row op of an operand k·x + c, as a multiple of 1/|k|; 0
// for a row that is not periodic.
double periodoBase(Op op) noexcept
{
    switch (op) {
    case Op::Sin:
    case Op::Cos:
        return 2 * std::numbers::pi;
    case Op::Tan:
        return std::numbers::pi;
    default:
        return 0;
    }
}

// Row op on an affine a and a constant b (or on two affines): the affine it
// gives, if any. v is b's value when constant.
Forma suAffini(Op op, const Forma &a, const Forma &b, double va, double vb) noexcept
{
    using T = Forma::Tipo;
    const bool aFisso = a.tipo == T::Costante, bFisso = b.tipo == T::Costante;
    const double ka = aFisso ? 0 : a.k, ca = aFisso ? va : a.c;
    const double kb = bFisso ? 0 : b.k, cb = bFisso ? vb : b.c;
    switch (op) {
    case Op::Somma:
        return affine(ka + kb, ca + cb);
    case Op::Differenza:
        return affine(ka - kb, ca - cb);
    case Op::Prodotto:
        if (aFisso || bFisso)
            return affine(ka * cb + kb * ca, ca * cb);
        return kAltro;
    case Op::Quoziente:
        return bFisso && vb != 0 ? affine(ka / vb, ca / vb) : kAltro;
    case Op::Meno:
        return affine(-ka, -ca);
    case Op::CDbl:
        return a;
    default:
        return kAltro;
    }
}

// Small integers p, q with p/q = r (> 0) to rounding; none when r is no
// such ratio (Sqr(2) needs a denominator of thousands to come within 1E-7).
constexpr long long kMassimoTermine = 1000;
constexpr double kTolleranzaRapporto = 1e-12;

bool rapporto(double r, long long &p, long long &q) noexcept
{
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double resto = r;
    for (int i = 0; i < 64; ++i) {
        const double a = std::floor(resto);
        if (!(a < static_cast<double>(kMassimoTermine) + 1))
            return false;
        const auto ai = static_cast<long long>(a);
        const long long p2 = ai * p1 + p0, q2 = ai * q1 + q0;
        if (p2 > kMassimoTermine || q2 > kMassimoTermine)
            return false;
        if (std::fabs(r - static_cast<double>(p2) / static_cast<double>(q2))
            <= kTolleranzaRapporto * r) {
            p = p2;
            q = q2;
            return true;
        }
        const double frazione = resto - a;
        if (!(frazione > 0))
            return false;
        resto = 1 / frazione;
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
    }
    return false;
}

// The least common multiple of the periods, as the first times an integer:
// LCM(L, L·p/q) = L·p for p/q in lowest terms. None where two of them are
// not commensurate, or the multiple grows past a thousand of the first.
std::optional<double> minimoComuneMultiplo(const std::vector<double> &periodi) noexcept
{
    if (periodi.empty())
        return std::nullopt;
    const double primo = periodi[0];
    long long n = 1;
    for (const double t : periodi) {
        long long p = 0, q = 0;
        if (!rapporto(t / (primo * static_cast<double>(n)), p, q))
            return std::nullopt;
        n *= p;
        if (n > kMassimoTermine)
            return std::nullopt;
    }
    return primo * static_cast<double>(n);
}

} // namespace

void ProgrammaNumerico::compilaPeriodo(const std::vector<char> &costante)
{
    using T = Forma::Tipo;
    std::vector<Forma> forma(registri_.size(), kAltro);
    forma[0] = {T::Affine, 1, 0}; // x
    for (std::size_t r = 1; r < registri_.size(); ++r)
        if (costante[r])
            forma[r].tipo = T::Costante;
    std::vector<double> periodi;
    for (std::size_t j = 0; j < passi_.size(); ++j) {
        const Passo &p = passi_[j];
        Forma &r = forma[primoRisultato_ + j];
        if (costante[primoRisultato_ + j])
            continue;
        const Forma &a = forma[p.a];
        const Forma b = operazioni::arieta(p.op) == 1 ? Forma {T::Costante} : forma[p.b];
        if (a.tipo == T::Altro || b.tipo == T::Altro)
            continue;
        const bool conAffine = a.tipo == T::Affine || b.tipo == T::Affine;
        const bool periodica = a.tipo == T::Periodica || b.tipo == T::Periodica;
        if (conAffine && periodica)
            continue; // x*Sin(x), Sin(x)+x
        if (periodica) {
            r.tipo = T::Periodica; // any operation of periodic functions and constants
            continue;
        }
        if (const double base = periodoBase(p.op); base > 0 && a.tipo == T::Affine) {
            const double periodo = base / std::fabs(a.k);
            if (std::isfinite(periodo) && periodo > 0) { // not for k of 1E-310
                r.tipo = T::Periodica;
                periodi.push_back(periodo);
            }
            continue;
        }
        r = suAffini(p.op, a, b, registri_[p.a], registri_[p.b]);
    }
    if (forma[risultato_].tipo == T::Periodica)
        periodo_ = minimoComuneMultiplo(periodi);
}

} // namespace zelvo
