#pragma once

// The checked Double operations, shared by the Variant operations, the
// built-in functions and the numeric program, so every evaluator computes
// each value with the very same instructions. Operands are finite; each
// function returns VBScript's error number and writes r only on success.

#include "engine/Valore.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace zelvo::reale {

inline bool finito(double v) noexcept
{
    return std::fabs(v) <= DBL_MAX;
}

// The C library's pow, always called. Compilers replace pow(a, 2.0) with
// a * a as if pow rounded correctly, which the library's pow does not: over
// the widest plot sweep 163 squares differ from a * a in the last bit. The
// exponent passes through a volatile, so no compiler sees its value.
inline double potenzaC(double a, double b) noexcept
{
    const volatile double esponente = b;
    return std::pow(a, esponente);
}

// The product a * b as hi + lo, exactly (Veltkamp-Dekker, no fma needed):
// valid while the operands and the product stay far from overflow and underflow.
// T is double, or a vector of doubles computing the same in every lane.
template<class T> inline void prodottoEsatto(T a, T b, T &hi, T &lo) noexcept
{
    constexpr double kSpezza = 134217729.0; // 2^27 + 1
    hi = a * b;
    const T ca = kSpezza * a;
    const T ah = ca - (ca - a);
    const T al = a - ah;
    const T cb = kSpezza * b;
    const T bh = cb - (cb - b);
    const T bl = b - bh;
    lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// How close to a rounding boundary, in ulps, the exact a^2 or a^3 may lie
// and still be rounded by the C library's pow to the nearer double. glibc's
// pow errs by at most 0.511 ulp in its final exp plus a relative 1.5 * 2^-68
// in log|a|, which b * log|a| magnifies: 0.54 ulp over all doubles (so
// 0.46), below 0.5125 ulp while 2^-16 <= |a| <= 2^16 (so 0.4875), the range
// of nearly every plot. Each is rounded down a little.
inline double sogliaPotenza(double a) noexcept
{
    return std::fabs(a) >= 0x1p-16 && std::fabs(a) <= 0x1p16 ? 0.487 : 0.45;
}

// True when the exact value hi + resto (|resto| at most half an ulp of hi,
// hi normal) lies within soglia ulps of hi, so that every result pow may give
// for it is hi.
inline bool lontanoDalMezzo(double hi, double resto, double soglia) noexcept
{
    const auto bit = std::bit_cast<std::uint64_t>(hi);
    // The gap to the nearer neighbour: an ulp, or half of one below a power of 2.
    double ulp = std::bit_cast<double>(bit & 0x7FF0000000000000u) * 0x1p-52;
    if ((bit & 0x000FFFFFFFFFFFFFu) == 0)
        ulp *= 0.5;
    return std::fabs(resto) <= soglia * ulp;
}

// a^2 and a^3 with the bits of std::pow: the exact power, rounded once,
// whenever pow cannot round it otherwise; pow itself for the rest.
inline double quadrato(double a) noexcept
{
    if (std::fabs(a) >= 0x1p-450 && std::fabs(a) <= 0x1p450) {
        double hi = 0, lo = 0;
        prodottoEsatto(a, a, hi, lo);
        if (lontanoDalMezzo(hi, lo, sogliaPotenza(a)))
            return hi;
    }
    return potenzaC(a, 2.0);
}

inline double cubo(double a) noexcept
{
    if (std::fabs(a) >= 0x1p-300 && std::fabs(a) <= 0x1p300) {
        double h2 = 0, l2 = 0, h3 = 0, l3 = 0;
        prodottoEsatto(a, a, h2, l2);
        prodottoEsatto(h2, a, h3, l3); // a^3 = h3 + l3 + l2 * a
        const double resto = l3 + l2 * a;
        const double s = h3 + resto;
        const double t = resto - (s - h3);
        if (lontanoDalMezzo(s, t, sogliaPotenza(a)))
            return s;
    }
    return potenzaC(a, 3.0);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZELVO_CUBO_FMA 1
// a^3 as cubo(), with the exact products from the processor's fused
// multiply-add: the same exact values, so the same bits, in fewer steps.
[[gnu::target("fma")]] inline double cuboFma(double a) noexcept
{
    if (std::fabs(a) >= 0x1p-300 && std::fabs(a) <= 0x1p300) {
        const double h2 = a * a;
        const double l2 = std::fma(a, a, -h2);
        const double h3 = h2 * a;
        const double l3 = std::fma(h2, a, -h3);
        const double resto = l3 + l2 * a;
        const double s = h3 + resto;
        const double t = resto - (s - h3);
        if (lontanoDalMezzo(s, t, sogliaPotenza(a)))
            return s;
    }
    return potenzaC(a, 3.0);
}

// a^2 as quadrato(), the same way.
[[gnu::target("fma")]] inline double quadratoFma(double a) noexcept
{
    if (std::fabs(a) >= 0x1p-450 && std::fabs(a) <= 0x1p450) {
        const double hi = a * a;
        const double lo = std::fma(a, a, -hi);
        if (lontanoDalMezzo(hi, lo, sogliaPotenza(a)))
            return hi;
    }
    return potenzaC(a, 2.0);
}

// Whether this processor has the fused multiply-add cuboFma needs.
inline bool haFma() noexcept
{
    static const bool si = __builtin_cpu_supports("fma");
    return si;
}
#endif

inline int potenza(double a, double b, double &r) noexcept
{
    if (b == 2) {
        r = quadrato(a);
        return finito(r) ? Nessuno : ErroreOverflow;
    }
    if (a < 0 && std::trunc(b) != b)
        return ArgomentoNonValido; // no real root of a negative base
    if (a == 0 && b < 0)
        return DivisionePerZero;
    const double p = b == 3 ? cubo(a) : potenzaC(a, b);
    if (!finito(p))
        return ErroreOverflow;
    r = p;
    return Nessuno;
}

inline int quoziente(double a, double b, double &r) noexcept
{
    if (b == 0)
        return a == 0 ? ErroreOverflow : DivisionePerZero;
    const double q = a / b;
    if (!finito(q))
        return ErroreOverflow;
    r = q;
    return Nessuno;
}

inline int seno(double a, double &r) noexcept
{
    r = std::sin(a);
    return Nessuno;
}

inline int coseno(double a, double &r) noexcept
{
    r = std::cos(a);
    return Nessuno;
}

inline int tangente(double a, double &r) noexcept
{
    r = std::tan(a);
    return Nessuno;
}

inline int arcotangente(double a, double &r) noexcept
{
    r = std::atan(a);
    return Nessuno;
}

inline int esponenziale(double a, double &r) noexcept
{
    const double e = std::exp(a);
    if (!finito(e))
        return ErroreOverflow; // beyond 709.782712893384
    r = e;
    return Nessuno;
}

inline int logaritmo(double a, double &r) noexcept
{
    if (a <= 0)
        return ArgomentoNonValido;
    r = std::log(a);
    return Nessuno;
}

inline int radice(double a, double &r) noexcept
{
    if (a < 0)
        return ArgomentoNonValido;
    r = std::sqrt(a);
    return Nessuno;
}

inline int assoluto(double a, double &r) noexcept
{
    r = std::fabs(a);
    return Nessuno;
}

inline int parteIntera(double a, double &r) noexcept
{
    r = std::floor(a);
    return Nessuno;
}

inline int troncato(double a, double &r) noexcept
{
    r = std::trunc(a);
    return Nessuno;
}

} // namespace zelvo::reale
