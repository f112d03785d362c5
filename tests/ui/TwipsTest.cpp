#include "ui/Twips.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace zelvo {
namespace {

// The pixel as the surface has always rounded it: a division, then the
// nearest pixel, halves up.
bool pixelConDivisione(float twips, int n, int &pixel)
{
    const double c = pixelVicino(pixelDaTwipsEsatto(twips));
    if (!(c >= 0 && c < n))
        return false;
    pixel = static_cast<int>(c);
    return true;
}

// Both give the same answer for this coordinate on an axis of n pixels.
::testing::AssertionResult uguali(float twips, int n)
{
    int a = -1, b = -1;
    const bool conDivisione = pixelConDivisione(twips, n, a);
    const bool senza = pixelDiCoordinata(twips, n, b);
    if (conDivisione == senza && (!senza || a == b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
            << std::hexfloat << twips << std::defaultfloat << " (" << twips << ") on " << n
            << " pixels: " << (conDivisione ? std::to_string(a) : "off") << " with a division, "
            << (senza ? std::to_string(b) : "off") << " without";
}

// Both roundings are monotone in the coordinate, so they agree everywhere
// if they agree on both sides of every bound between two pixels (15k - 7.5
// twips): on the last float below it and on the first float at or above it.
// Every bound of the first 2^21 pixels is checked, then bounds spread up to
// the largest int, where every float is a whole number.
TEST(Twips, PixelsWithoutADivisionAreThePixelsOfTheDivisionOnEveryBound)
{
    constexpr int n = std::numeric_limits<int>::max();
    const auto attorno = [&](std::int64_t k) {
        const double bordo = 15.0 * static_cast<double>(k) - 7.5;
        float sopra = static_cast<float>(bordo);
        if (sopra < bordo)
            sopra = std::nextafter(sopra, std::numeric_limits<float>::infinity());
        const float sotto = std::nextafter(sopra, -std::numeric_limits<float>::infinity());
        return uguali(sotto, n) && uguali(sopra, n);
    };
    for (std::int64_t k = 0; k <= (std::int64_t {1} << 21); ++k)
        ASSERT_TRUE(attorno(k)) << "bound of pixel " << k;
    for (std::int64_t k = std::int64_t {1} << 21; k <= n + std::int64_t {1}; k += 7919)
        ASSERT_TRUE(attorno(k)) << "bound of pixel " << k;
}

// The ends of an axis of any size, and what lies off every axis.
TEST(Twips, PixelsWithoutADivisionKeepTheEndsOfTheAxis)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float speciali[] = {0.f,
                              -0.f,
                              std::numeric_limits<float>::denorm_min(),
                              -std::numeric_limits<float>::denorm_min(),
                              -7.5f,
                              std::nextafter(-7.5f, -inf),
                              7.5f,
                              std::nextafter(7.5f, -inf),
                              -1e30f,
                              1e30f,
                              std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::lowest(),
                              inf,
                              -inf,
                              std::numeric_limits<float>::quiet_NaN(),
                              -std::numeric_limits<float>::quiet_NaN()};
    for (const int n : {0, 1, 2, 300, 1024, 65536, std::numeric_limits<int>::max()}) {
        for (const float x : speciali)
            EXPECT_TRUE(uguali(x, n));
        // The last twips of pixel n - 1 and the first of pixel n.
        const float fine = static_cast<float>(15.0 * n - 7.5);
        EXPECT_TRUE(uguali(fine, n));
        EXPECT_TRUE(uguali(std::nextafter(fine, -inf), n));
    }
    int p = -1;
    EXPECT_TRUE(pixelDiCoordinata(-7.5f, 1, p) && p == 0);
    EXPECT_FALSE(pixelDiCoordinata(std::nextafter(-7.5f, -inf), 1, p));
    EXPECT_TRUE(pixelDiCoordinata(7.4999995f, 1, p) && p == 0);
    EXPECT_FALSE(pixelDiCoordinata(7.5f, 1, p));
}

// Any float at all, on axes of the surface's sizes.
TEST(Twips, PixelsWithoutADivisionOnRandomFloats)
{
    std::mt19937 casuale(20261210);
    std::uniform_int_distribution<std::uint32_t> bit;
    std::uniform_real_distribution<float> vicino(-100.f, 16000.f);
    for (int i = 0; i < 200'000; ++i) {
        const float x = std::bit_cast<float>(bit(casuale));
        const float y = vicino(casuale);
        for (const int n : {1, 724, 1024}) {
            ASSERT_TRUE(uguali(x, n));
            ASSERT_TRUE(uguali(y, n));
        }
    }
}

} // namespace
} // namespace zelvo
