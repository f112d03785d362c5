#pragma once

// Four doubles computed as one: the lanes of the block program. One AVX
// register, or two SSE2 ones on a processor without AVX2 (the compiler
// splits each operation), or plain quadruples elsewhere. The same helpers
// exist for a plain double, so a routine written once serves both.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

// The vectors never cross a function boundary: every helper is inlined. The
// pragma keeps GCC's warning about passing them out of every file that
// includes this one; the build also turns off its note (-Wno-psabi).
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

#define ZELVO_IN_LINEA [[gnu::always_inline]] inline

namespace zelvo::corsie {

typedef double Vd __attribute__((vector_size(32)));
typedef std::int64_t Vi __attribute__((vector_size(32)));
inline constexpr std::size_t kCorsie = sizeof(Vd) / sizeof(double);

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

ZELVO_IN_LINEA double assoluto(double v) noexcept
{
    return std::fabs(v);
}

// v with its mantissa cleared: the power of 2 at or below |v| (v normal).
ZELVO_IN_LINEA Vd potenzaDi2(Vd v) noexcept
{
    return come(come(v) & 0x7FF0000000000000);
}

ZELVO_IN_LINEA double potenzaDi2(double v) noexcept
{
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    b &= 0x7FF0000000000000u;
    std::memcpy(&v, &b, sizeof b);
    return v;
}

// a where m holds, else b.
ZELVO_IN_LINEA Vd scegli(Vi m, Vd a, Vd b) noexcept
{
    return come((come(a) & m) | (come(b) & ~m));
}

ZELVO_IN_LINEA double scegli(bool m, double a, double b) noexcept
{
    return m ? a : b;
}

// All ones in the lanes whose value is not finite.
ZELVO_IN_LINEA Vi nonFinito(Vd v) noexcept
{
    return ~(assoluto(v) <= Vd {} + DBL_MAX);
}

ZELVO_IN_LINEA bool qualcuna(Vi m) noexcept
{
    Vi o = m;
    for (std::size_t k = 1; k < kCorsie; ++k)
        o[0] |= m[k];
    return o[0] != 0;
}

} // namespace zelvo::corsie
