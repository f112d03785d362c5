#include "tables/TestoNumero.h"
#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zelvo {
namespace {

std::string scritto(double v, char separatore)
{
    char testo[kMaxTestoNumero];
    return std::string(testo, scriviNumero(testo, v, separatore));
}

// The list rows must read exactly as every other number on screen; the fast
// path is checked against numberToText where its arithmetic is most at risk.
TEST(TestoNumero, UgualeANumberToText)
{
    std::vector<double> valori = {0,
                                  -0.0,
                                  1,
                                  -1,
                                  10,
                                  0.1,
                                  0.0001,
                                  0.00012345678901234567,
                                  9.99999999999999e-5,
                                  9.999999999999999e-5,
                                  99999999999999.9,
                                  999999999999999.0,
                                  9.999999999999995,
                                  9.9999999999999947,
                                  0.99999999999999994,
                                  123456789012345.5, // an exact tie
                                  1e14,
                                  1e15,
                                  1e16,
                                  -1e-5,
                                  1.5e16,
                                  1e308,
                                  5e-324,
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    for (int k = -6; k <= 16; ++k) { // both sides of each power of ten
        const double p = std::pow(10.0, k);
        valori.insert(valori.end(), {std::nextafter(p, 0.0), p, std::nextafter(p, 1e300)});
    }
    for (double x = -10.1; x <= 10.1; x += 0.0001) // the sweeps' own abscissas and values
        valori.insert(valori.end(), {x, x * x, std::sin(x)});
    std::mt19937_64 caso(20261210);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> esponente(-7, 17);
    for (int i = 0; i < 300000; ++i)
        valori.push_back((i % 2 ? -1 : 1) * mantissa(caso) * std::pow(10.0, esponente(caso)));

    std::size_t diversi = 0;
    for (const double v : valori) {
        for (const char separatore : {',', '.'}) {
            const std::string atteso = numberToText(v, separatore);
            const std::string ottenuto = scritto(v, separatore);
            if (ottenuto != atteso && ++diversi <= 10)
                ADD_FAILURE() << std::hexfloat << v << ": " << ottenuto << " instead of " << atteso;
        }
    }
    EXPECT_EQ(diversi, 0u);
}

} // namespace
} // namespace zelvo
