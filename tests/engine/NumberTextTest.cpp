#include "engine/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

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

class NumberToText : public testing::TestWithParam<TextCase>
{
};

TEST_P(NumberToText, UnderBothSeparators)
{
    const TextCase &c = GetParam();
    EXPECT_EQ(numberToText(c.value, '.'), c.dot);
    EXPECT_EQ(numberToText(c.value, ','), c.comma);
}

INSTANTIATE_TEST_SUITE_P(
        Table, NumberToText,
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

class TextToNumber : public testing::TestWithParam<ReadCase>
{
};

TEST_P(TextToNumber, ReadsOrFails)
{
    const ReadCase &c = GetParam();
    const TextNumber r = textToNumber(c.text, c.separator);
    EXPECT_EQ(r.error, c.error) << '"' << c.text << '"';
    if (c.error == 0) {
        EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
        Table, TextToNumber,
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

TEST(TextToNumber, RoundTripsEveryShownNumber)
{
    // What a label shows reads back as the same 15-digit value.
    for (double v : {1.0 / 3, -2.0 / 3, 1E-05, 1.5E+16, 9.99999999999996, -1.88737914186277E-14}) {
        for (char sep : {'.', ','}) {
            const TextNumber r = textToNumber(numberToText(v, sep), sep);
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(numberToText(r.value, sep), numberToText(v, sep));
        }
    }
}

TEST(TextToNumber, NegativeZeroKeepsItsSign)
{
    const TextNumber r = textToNumber("-0", '.');
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(std::signbit(r.value));
}

TEST(TextToNumber, HugeTextIsRefusedNotCrashed)
{
    std::string digits(100000, '7');
    EXPECT_EQ(textToNumber(digits, '.').error, 6);
    EXPECT_EQ(textToNumber("0." + digits, '.').value, 0.7777777777777778);
    EXPECT_EQ(textToNumber(digits + "x", '.').error, 13);
}

} // namespace
} // namespace zelvo
