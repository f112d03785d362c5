#pragma once

// The checked Double operations, shared by the Variant operations, the
// built-in functions and the numeric program, so every evaluator computes
// each value with the very same instructions. Operands are finite; each
// function returns VBScript's error number and writes r only on success.

#include "engine/Corsie.h"
#include "engine/Operatori.h"
#include "engine/Valore.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace zelvo::reale {

inline bool finito(double v) noexcept
{
    return std::fabs(v) <= DBL_MAX;
}

// The C library's pow, always called. Compilers replace pow(a, 2.0) with
// a * a as if pow rounded correctly, which the library's pow does not: over
// the widest plot sweep 163 squares differ from a * a in the last bit. The
// exponent passes through a volatile, so no compiler sees its value. Kept
// out of line: where an exact power is tried first, pow is the rare path.
[[gnu::noinline, gnu::cold]] inline double potenzaC(double a, double b) noexcept
{
    const volatile double esponente = b;
    return std::pow(a, esponente);
}

// a^N for 2 <= N <= 8, with the bits of the C library's pow(a, N), as a
// double (one evaluation) or as lanes (Vd, a block); esatta tells where hi
// is the answer, and pow must be called elsewhere. The exact power is
// computed as hi + lo (products split exactly, rounded once in lo: a
// relative error below 2^-100, under 2^-47 ulp of hi) and hi is the answer
// whenever pow cannot round it otherwise:
//
// glibc's pow errs by at most 0.511 ulp in its final exp plus a relative
// 1.5 * 2^-68 in log|a|, which n * log|a| magnifies into a relative
// 1.5 * 2^-68 * |n log|a||, at most 2^-53 * 0.0325 (0.0325 ulp) for any
// finite result (|n log|a|| <= 709.8), 0.0016 ulp while 2^-48 <= |a^n| <=
// 2^48 (|n log|a|| <= 33.3). pow's result, then within 0.544 (or 0.5126)
// ulp of the exact power, is a double less than 1 ulp from hi when the
// exact power lies within 0.456 (or 0.4874) ulp of hi: hi itself. The
// thresholds below are those rounded down, which covers lo's own error.
// Elsewhere (and for results beyond 2^±900, where the split products could
// leave the normal range) pow is called.
//
// The error of each rounded product is computed exactly by Veltkamp-Dekker
// splitting.
template<int N, class T, class M> ZELVO_IN_LINEA T potenzaEsatta(T a, M &esatta) noexcept
{
    static_assert(N >= 2 && N <= 8);
    using corsie::assoluto;
    using corsie::potenzaDi2;
    using corsie::scegli;
    // Veltkamp-Dekker: a split once into two halves of 26 bits, h at each
    // step, so each product of halves is exact and so is h * a - p.
    constexpr double kSpezza = 134217729.0; // 2^27 + 1
    const T ca = kSpezza * a;
    const T ah = ca - (ca - a);
    const T al = a - ah;
    // h * a - p, exactly, for p the rounded h * a.
    const auto errore = [&](T h, T p) __attribute__((always_inline))
    {
        const T ch = kSpezza * h;
        const T hh = ch - (ch - h);
        const T hl = h - hh;
        return ((hh * ah - p) + hh * al + hl * ah) + hl * al;
    };
    // a * a is hi + lo already: a rounded product and its exact error.
    T hi = a * a;
    T lo = errore(a, hi);
    for (int k = 2; k < N; ++k) {
        const T p = hi * a;
        const T e = errore(hi, p) + lo * a;
        hi = p + e;
        lo = e - (hi - p);
    }
    const T m = assoluto(hi);
    // The gap to the nearer neighbour: an ulp, or half of one at a power of 2.
    const T potenza = potenzaDi2(hi);
    const T ulp = scegli(m == potenza, potenza * 0x1p-53, potenza * 0x1p-52);
    const auto centrale = m >= T {} + 0x1p-48 && m <= T {} + 0x1p48;
    if constexpr (std::is_same_v<T, double>) {
        // One value: the common case first, the same decision.
        if (centrale) [[likely]] {
            esatta = assoluto(lo) <= 0.487 * ulp;
            return hi;
        }
    }
    const T vicino = scegli(centrale, T {} + 0.487, T {} + 0.45);
    esatta = m >= T {} + 0x1p-900 && m <= T {} + 0x1p900 && assoluto(lo) <= vicino * ulp;
    return hi;
}

// f(std::integral_constant<int, n>()) for 2 <= n <= 8: each exponent gets
// its own unrolled product.
template<class F> ZELVO_IN_LINEA auto conEsponente(int n, F f) noexcept
{
    switch (n) {
    case 2:
        return f(std::integral_constant<int, 2>());
    case 3:
        return f(std::integral_constant<int, 3>());
    case 4:
        return f(std::integral_constant<int, 4>());
    case 5:
        return f(std::integral_constant<int, 5>());
    case 6:
        return f(std::integral_constant<int, 6>());
    case 7:
        return f(std::integral_constant<int, 7>());
    default:
        return f(std::integral_constant<int, 8>());
    }
}

// The same for one double.
template<int N> ZELVO_IN_LINEA double potenzaIntera(double a) noexcept
{
    bool esatta = false;
    const double hi = potenzaEsatta<N>(a, esatta);
    return esatta ? hi : potenzaC(a, N);
}

inline double potenzaIntera(double a, int n) noexcept
{
    return conEsponente(
            n, [a](auto esponente) { return potenzaIntera<decltype(esponente)::value>(a); });
}

// The exponent of a ^ b when it is one potenzaIntera takes, else 0.
inline int esponenteIntero(double b) noexcept
{
    return b >= 2 && b <= 8 && b == std::trunc(b) ? static_cast<int>(b) : 0;
}

inline int potenza(double a, double b, double &r) noexcept
{
    if (a < 0 && std::trunc(b) != b)
        return ArgomentoNonValido; // no real root of a negative base
    if (a == 0 && b < 0)
        return DivisionePerZero;
    const int n = esponenteIntero(b);
    const double p = n != 0 ? potenzaIntera(a, n) : potenzaC(a, b);
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

// Hypot(a, b): sqrt(a^2 + b^2) without overflow on the way; 6 beyond the range.
inline int ipotenusa(double a, double b, double &r) noexcept
{
    const double h = std::hypot(a, b);
    if (!finito(h))
        return ErroreOverflow;
    r = h;
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

// ---- the integral operations: each operand rounded half to even ----

// A value rounded to a Long (\, Mod, the bitwise operators, CLng): 6 beyond.
inline int aLong(double v, double &r) noexcept
{
    const double d = std::nearbyint(v); // the default rounding: half to even
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        return ErroreOverflow;
    r = d + 0.0; // no -0
    return Nessuno;
}

// Both operands of \, Mod or a bitwise operator rounded to Longs, the first
// one's overflow first.
inline int dueLong(double a, double b, double &la, double &lb) noexcept
{
    if (const int e = aLong(a, la))
        return e;
    return aLong(b, lb);
}

// a \ b or a Mod b of two Longs: 11 for b = 0, 6 for the one quotient
// beyond a Long (-2147483648 \ -1).
inline int divisioneIntera(bool modulo, double a, double b, double &r) noexcept
{
    if (b == 0)
        return DivisionePerZero;
    const auto la = static_cast<std::int64_t>(a);
    const auto lb = static_cast<std::int64_t>(b);
    const auto q = static_cast<double>(modulo ? la % lb : la / lb);
    if (q > 2147483647.0)
        return ErroreOverflow;
    r = q + 0.0;
    return Nessuno;
}

// And, Or, Xor, Eqv and Imp on 32 bits.
inline std::int32_t bitLogici(Operatore op, std::int32_t a, std::int32_t b) noexcept
{
    switch (op) {
    case Operatore::And:
        return a & b;
    case Operatore::Or:
        return a | b;
    case Operatore::Xor:
        return a ^ b;
    case Operatore::Eqv:
        return ~(a ^ b);
    default: // Imp
        return ~a | b;
    }
}

// a op b for a comparison of two numbers.
inline bool confronta(Operatore op, double a, double b) noexcept
{
    switch (op) {
    case Operatore::Uguale:
        return a == b;
    case Operatore::Diverso:
        return a != b;
    case Operatore::Minore:
        return a < b;
    case Operatore::Maggiore:
        return a > b;
    case Operatore::MinoreUguale:
        return a <= b;
    default: // MaggioreUguale
        return a >= b;
    }
}

// ---- built-in functions of numbers ----

inline int segno(double a, double &r) noexcept // Sgn
{
    r = a > 0 ? 1 : (a < 0 ? -1 : 0);
    return Nessuno;
}

// CInt, CLng: half to even, then the subtype's range (6 beyond).
inline int intero(double a, double minimo, double massimo, double &r) noexcept
{
    const double v = std::nearbyint(a);
    if (!(v >= minimo && v <= massimo))
        return ErroreOverflow;
    r = v + 0.0;
    return Nessuno;
}

inline int interoCInt(double a, double &r) noexcept
{
    return intero(a, -32768, 32767, r);
}

inline int interoCLng(double a, double &r) noexcept
{
    return intero(a, -2147483648.0, 2147483647.0, r);
}

inline int booleanoCBool(double a, double &r) noexcept
{
    r = a != 0 ? -1.0 : 0.0;
    return Nessuno;
}

inline int doppioCDbl(double a, double &r) noexcept
{
    r = a;
    return Nessuno;
}

// Round's second argument: a Long (6 beyond), not negative (5).
inline int decimali(double v, double &r) noexcept
{
    if (const int e = aLong(v, r))
        return e;
    return r < 0 ? ArgomentoNonValido : Nessuno;
}

// Round(v, decimali) of a Double: v * 10^decimali half to even, scaled back
// (v itself when the scaled value is not finite, or past 15 decimals).
inline double arrotonda(double v, double decimali) noexcept
{
    // 10^k, each exact: what pow(10, k) gives.
    static constexpr double kScala[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (decimali == 0)
        return std::nearbyint(v);
    if (decimali < 16) {
        const double scala = kScala[static_cast<int>(decimali)];
        const double scalato = v * scala;
        if (std::isfinite(scalato))
            return std::nearbyint(scalato) / scala;
    }
    return v;
}

inline int arrotondato(double a, double &r) noexcept // Round(v)
{
    r = std::nearbyint(a);
    return Nessuno;
}

} // namespace zelvo::reale
