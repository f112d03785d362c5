#include "engine/TestoNumero.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// x after k additions of 0.1 starting at -10, as every sweep computes it.
double sweepX(int k)
{
    double x = -10;
    for (int i = 0; i < k; ++i)
        x += 0.1;
    return x;
}

struct TextCase
{
    double value;
    const char *dot; // C / English locale
    const char *comma; // Italian locale
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << c.dot;
}

class TestoNumero : public testing::TestWithParam<TextCase>
{
};

TEST_P(TestoNumero, UnderBothSeparators)
{
    const TextCase &c = GetParam();
    EXPECT_EQ(testoNumero(c.value, '.'), c.dot);
    EXPECT_EQ(testoNumero(c.value, ','), c.comma);
}

INSTANTIATE_TEST_SUITE_P(
        Table, TestoNumero,
        testing::Values(TextCase {0.001, "0.001", "0,001"}, TextCase {0.0001, "0.0001", "0,0001"},
                        TextCase {1E-05, "1E-05", "1E-05"},
                        TextCase {1.0 / 3, "0.333333333333333", "0,333333333333333"},
                        TextCase {2.0 / 3, "0.666666666666667", "0,666666666666667"},
                        TextCase {sweepX(200), "9.99999999999996", "9,99999999999996"},
                        TextCase {sweepX(100), "-1.87905246917808E-14", "-1,87905246917808E-14"},
                        TextCase {123456789012345, "123456789012345", "123456789012345"},
                        TextCase {1E+15, "1E+15", "1E+15"},
                        TextCase {1.5E+16, "1.5E+16", "1,5E+16"}, TextCase {0, "0", "0"},
                        TextCase {-0.0, "0", "0"}, TextCase {9.9999999999999991, "10", "10"},
                        TextCase {-2.5, "-2.5", "-2,5"}, TextCase {-10, "-10", "-10"},
                        TextCase {99999999999999.9, "99999999999999.9", "99999999999999,9"},
                        TextCase {999999999999999.9, "1E+15", "1E+15"},
                        TextCase {1.2345678901234567E-5, "1.23456789012346E-05",
                                  "1,23456789012346E-05"},
                        TextCase {1.5E-300, "1.5E-300", "1,5E-300"},
                        TextCase {1.7976931348623157E308, "1.79769313486232E+308",
                                  "1,79769313486232E+308"}));

struct ReadCase
{
    const char *text;
    char separator;
    double value; // meaningful when error == 0
    int error;
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << '"' << c.text << "\" with '" << c.separator << '\'';
}

class LeggiNumero : public testing::TestWithParam<ReadCase>
{
};

TEST_P(LeggiNumero, ReadsOrFails)
{
    const ReadCase &c = GetParam();
    const NumeroLetto r = leggiNumero(c.text, c.separator);
    EXPECT_EQ(r.errore, c.error) << '"' << c.text << '"';
    if (c.error == 0) {
        EXPECT_EQ(r.valore, c.value) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
        Table, LeggiNumero,
        testing::Values(ReadCase {"-10", '.', -10, 0}, ReadCase {"+10", ',', 10, 0},
                        ReadCase {"0.5", '.', 0.5, 0}, ReadCase {"0,5", ',', 0.5, 0},
                        ReadCase {"0.5", ',', 0, 13}, // a group separator is never accepted
                        ReadCase {"0,5", '.', 0, 13}, ReadCase {"1.000", ',', 0, 13},
                        ReadCase {" 12 ", '.', 12, 0}, ReadCase {"10,1", ',', 10.1, 0},
                        ReadCase {".5", '.', 0.5, 0}, ReadCase {"5.", '.', 5, 0},
                        ReadCase {"1E-05", '.', 1E-05, 0}, ReadCase {"1,5E+16", ',', 1.5E+16, 0},
                        ReadCase {"9.99999999999996", '.', 9.99999999999996, 0},
                        ReadCase {"", '.', 0, 13}, ReadCase {"-", '.', 0, 13},
                        ReadCase {"abc", '.', 0, 13}, ReadCase {"1,2,3", ',', 0, 13},
                        ReadCase {"1,2,3", '.', 0, 13}, ReadCase {".", '.', 0, 13},
                        ReadCase {"1e", '.', 0, 13}, ReadCase {"1 1", '.', 0, 13},
                        ReadCase {"--1", '.', 0, 13}, ReadCase {"0x10", '.', 0, 13},
                        ReadCase {"inf", '.', 0, 13}, ReadCase {"nan", '.', 0, 13},
                        ReadCase {"1E400", '.', 0, 6}, ReadCase {"-1E400", '.', 0, 6},
                        ReadCase {"1E-400", '.', 0, 0}, ReadCase {"0.000001E-400", '.', 0, 0}));

TEST(LeggiNumero, RoundTripsEveryShownNumber)
{
    // What a label shows reads back as the same 15-digit value.
    for (double v : {1.0 / 3, -2.0 / 3, 1E-05, 1.5E+16, 9.99999999999996, -1.88737914186277E-14}) {
        for (char sep : {'.', ','}) {
            const NumeroLetto r = leggiNumero(testoNumero(v, sep), sep);
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(testoNumero(r.valore, sep), testoNumero(v, sep));
        }
    }
}

TEST(LeggiNumero, NegativeZeroKeepsItsSign)
{
    const NumeroLetto r = leggiNumero("-0", '.');
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(std::signbit(r.valore));
}

TEST(LeggiNumero, HugeTextIsRefusedNotCrashed)
{
    std::string digits(100000, '7');
    EXPECT_EQ(leggiNumero(digits, '.').errore, 6);
    EXPECT_EQ(leggiNumero("0." + digits, '.').valore, 0.7777777777777778);
    EXPECT_EQ(leggiNumero(digits + "x", '.').errore, 13);
}

// The one text of a number, checked against the C library's own "%.15G" (in
// the C locale) on the sweeps' abscissas and values and on random doubles of
// every magnitude: the same digits, the same notation.
TEST(TestoNumero, ComeIlPrintfDellaLibreriaC)
{
    std::vector<double> valori = {0.00012345678901234567, 9.99999999999999e-5,
                                  9.999999999999999e-5,   99999999999999.9,
                                  999999999999999.0,      9.999999999999995,
                                  9.9999999999999947,     0.99999999999999994,
                                  123456789012345.5, // an exact tie
                                  1e308,                  5e-324,
                                  2.2250738585072014e-308};
    for (int k = -310; k <= 308; ++k) { // both sides of each power of ten
        const double p = std::pow(10.0, k);
        valori.insert(valori.end(), {std::nextafter(p, 0.0), p, std::nextafter(p, 1e300)});
    }
    for (double x = -10.1; x <= 10.1; x += 0.0001) // the sweeps' own abscissas and values
        valori.insert(valori.end(), {x, x * x, std::sin(x), 1 / x});
    std::mt19937_64 caso(20261210);
    std::uniform_int_distribution<std::uint64_t> bit;
    for (int i = 0; i < 200000; ++i) { // any finite double
        const double v = std::bit_cast<double>(bit(caso));
        if (std::isfinite(v))
            valori.push_back(v);
    }
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> esponente(-7, 17);
    for (int i = 0; i < 200000; ++i) // the magnitudes around the plain notation
        valori.push_back((i % 2 ? -1 : 1) * mantissa(caso) * std::pow(10.0, esponente(caso)));

    std::size_t diversi = 0;
    char c[64];
    for (const double v : valori) {
        std::snprintf(c, sizeof c, "%.15G", v);
        std::string atteso = v == 0 ? "0" : c; // "-0" is shown as "0"
        const std::string punto = testoNumero(v, '.');
        std::replace(atteso.begin(), atteso.end(), '.', ',');
        const std::string virgola = testoNumero(v, ',');
        if ((virgola != atteso || punto != c) && v != 0 && ++diversi <= 10)
            ADD_FAILURE() << std::hexfloat << v << ": " << punto << " instead of " << c;
    }
    EXPECT_EQ(diversi, 0u);

    char testo[kMaxTestoNumero];
    EXPECT_EQ(std::string(testo, scriviNumero(testo, -1.2345678901234567e-300, ',')),
              "-1,23456789012346E-300");
}

} // namespace
} // namespace zelvo
