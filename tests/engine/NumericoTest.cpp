// x^2 ... x^8 skip pow when the exact power rounds the same way: the result
// must still be pow's, bit for bit, wherever x lies, one at a time and in lanes.

#include "engine/Numerico.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

namespace zelvo {
namespace {

std::uint64_t bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

// The exact power of one double: hi and the choice of pow must be the lanes'.
std::pair<double, bool> potenzaDi(double x, int n)
{
    bool e = false;
    double h = 0;
    reale::conEsponente(n, [&](auto k) {
        h = reale::potenzaEsatta<decltype(k)::value>(x, e);
        return 0;
    });
    return {h, e};
}

// How many powers skipped pow: the exact path must serve almost every sample.
int esatte = 0;
int tutte = 0;

void confronta(double x)
{
    for (int n = 2; n <= 8; ++n) {
        double r = 0;
        const int e = reale::potenza(x, n, r);
        // The library's own pow: a literal exponent would let the compiler put products.
        const volatile double esponente = n;
        const double p = std::pow(x, esponente);
        if (std::isfinite(p))
            ASSERT_EQ(bits(r), bits(p)) << "x = " << std::hexfloat << x << " ^ " << n;
        else
            ASSERT_EQ(e, 6);
        // The lanes' form, with a different x in each lane.
        const corsie::Vd v {x, -x, x * 0.5, x};
        bool esatta = true;
        double h = 0;
        reale::conEsponente(n, [&](auto k) {
            corsie::Vi m;
            h = reale::potenzaEsatta<k()>(v, m)[0];
            esatta = m[0] != 0;
            return 0;
        });
        if (esatta) {
            ASSERT_EQ(bits(h), bits(p)) << "x = " << std::hexfloat << x << " ^ " << n;
        }
        esatte += esatta;
        ++tutte;
        // One at a time.
        const auto [hs, es] = potenzaDi(x, n);
        ASSERT_EQ(es, esatta) << "x = " << std::hexfloat << x << " ^ " << n;
        if (es) {
            ASSERT_EQ(bits(hs), bits(p)) << "x = " << std::hexfloat << x << " ^ " << n;
        }
    }
}

TEST(EngineNumerico, IntegerPowersHavePowsBits)
{
    // Every sample of the widest plot sweep.
    for (double x = -10.1; x <= 10.1; x += 0.0001)
        confronta(x);
    EXPECT_GT(esatte, tutte * 97 / 100); // pow is rarely needed where plots live
    // Random mantissas over the whole exponent range.
    std::mt19937_64 g(20261210);
    std::uniform_real_distribution<double> mantissa(1, 2);
    std::uniform_int_distribution<int> esponente(-1074, 1023);
    for (int i = 0; i < 100000; ++i) {
        const double x = std::ldexp(mantissa(g), esponente(g));
        confronta(x);
        confronta(-x);
    }
    // Exact halfway products, where a single rounding decides the last bit.
    for (int k = 1; k < 100000; ++k)
        confronta(1.0 + std::ldexp(k, -27));
    for (double x : {0.0, -0.0, 1.0, -1.0, 0x1p-450, 0x1p450, 0x1p-300, 0x1p300, 0x1p-113, 0x1p112,
                     1e154, 1e103, 5e-324, 1.0 + 0x1p-52, 1.0 - 0x1p-53})
        confronta(x);
}

} // namespace
} // namespace zelvo
