// x^2 and x^3 skip pow when the exact power rounds the same way: the result
// must still be pow's, bit for bit, wherever x lies.

#include "engine/Numerico.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace zelvo {
namespace {

std::uint64_t bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

void confronta(double x)
{
    double r2 = 0, r3 = 0;
    const int e2 = reale::potenza(x, 2, r2);
    const int e3 = reale::potenza(x, 3, r3);
    // The library's own pow: a literal 2.0 would let the compiler put x * x.
    const volatile double due = 2.0, tre = 3.0;
    const double p2 = std::pow(x, due);
    const double p3 = std::pow(x, tre);
    if (std::isfinite(p2))
        ASSERT_EQ(bits(r2), bits(p2)) << "x = " << std::hexfloat << x;
    else
        ASSERT_EQ(e2, 6);
    if (std::isfinite(p3))
        ASSERT_EQ(bits(r3), bits(p3)) << "x = " << std::hexfloat << x;
    else
        ASSERT_EQ(e3, 6);
#ifdef ZELVO_CUBO_FMA
    if (reale::haFma()) {
        ASSERT_EQ(bits(reale::cuboFma(x)), bits(p3)) << "x = " << std::hexfloat << x;
        ASSERT_EQ(bits(reale::quadratoFma(x)), bits(p2)) << "x = " << std::hexfloat << x;
    }
#endif
}

TEST(EngineNumerico, SquareAndCubeHavePowsBits)
{
    // Every sample of the widest plot sweep.
    for (double x = -10.1; x <= 10.1; x += 0.0001)
        confronta(x);
    // Random mantissas over the whole exponent range.
    std::mt19937_64 g(20261210);
    std::uniform_real_distribution<double> mantissa(1, 2);
    std::uniform_int_distribution<int> esponente(-1074, 1023);
    for (int i = 0; i < 300000; ++i) {
        const double x = std::ldexp(mantissa(g), esponente(g));
        confronta(x);
        confronta(-x);
    }
    // Exact halfway products, where a single rounding decides the last bit.
    for (int k = 1; k < 100000; ++k)
        confronta(1.0 + std::ldexp(k, -27));
    for (double x :
         {0.0, -0.0, 1.0, -1.0, 0x1p-450, 0x1p450, 0x1p-300, 0x1p300, 1e154, 1e103, 5e-324})
        confronta(x);
}

} // namespace
} // namespace zelvo
