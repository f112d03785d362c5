#include "ui/Twips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvo {
namespace {

// A surface coordinate lands on the nearest pixel of its axis, halves up, on
// both sides of a bound between two pixels, at the logical pixel (60 quarter
// twips) and at the device pixels of dense screens; off the axis, or not a
// number, it lands nowhere.
TEST(Twips, ACoordinateLandsOnTheNearestPixelHalvesUp)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr int tutto = std::numeric_limits<int>::max();
    const auto sotto = [](float x) {
        return std::nextafter(x, -inf);
    };
    struct Caso
    {
        float twips;
        int n, quarti;
        int pixel; // -1: off the axis
    };
    const Caso casi[] = {
            {-7.5f, 1, 60, 0},
            {sotto(-7.5f), 1, 60, -1},
            {0.f, 1, 60, 0},
            {-0.f, 1, 60, 0},
            {7.4999995f, 1, 60, 0},
            {7.5f, 1, 60, -1},
            {7.5f, 2, 60, 1},
            {sotto(7.5f), 2, 60, 0},
            {14992.5f, 1001, 60, 1000},
            {14992.5f, 1000, 60, -1},
            {sotto(14992.5f), 1000, 60, 999},
            {0.f, 0, 60, -1},
            {3.75f, 2, 30, 1}, // 200 %
            {sotto(3.75f), 2, 30, 0},
            {-3.75f, 1, 30, 0},
            {sotto(-3.75f), 1, 30, -1},
            {6.f, 2, 48, 1}, // 125 %
            {sotto(6.f), 2, 48, 0},
            {1e30f, tutto, 60, -1},
            {-1e30f, tutto, 60, -1},
            {std::numeric_limits<float>::max(), tutto, 30, -1},
            {inf, tutto, 60, -1},
            {-inf, tutto, 60, -1},
            {std::numeric_limits<float>::quiet_NaN(), tutto, 60, -1},
    };
    for (const Caso &c : casi) {
        int p = -1;
        const bool sopra = pixelDiCoordinata(c.twips, c.n, c.quarti, p);
        EXPECT_EQ(sopra ? p : -1, c.pixel)
                << std::hexfloat << c.twips << " on " << c.n << " pixels of " << c.quarti;
    }
}

} // namespace
} // namespace zelvo
