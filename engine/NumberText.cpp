#include "engine/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace zelvo {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kPlainMinExponent = -4;
constexpr int kPlainMaxExponent = 14;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string numberToText(double v, char decimalSeparator)
{
    if (v == 0)
        return "0"; // also -0
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Inf" : "Inf";

    // to_chars is locale-independent: "d.dddddddddddddde+XX" with 15 digits,
    // rounded to nearest (a carry moves into the exponent: 9.99...95 -> 1e+01).
    std::array<char, 40> buf {};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                   std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    const std::size_t ePos = sci.find('e');

    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (isDigit(c))
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(sci.data() + ePos + 1);

    std::string out = v < 0 ? "-" : "";
    const int n = static_cast<int>(digits.size());
    if (exponent >= kPlainMinExponent && exponent <= kPlainMaxExponent) {
        if (exponent < 0) {
            out += '0';
            out += decimalSeparator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else if (n <= exponent + 1) {
            out += digits;
            out.append(static_cast<std::size_t>(exponent + 1 - n), '0');
        } else {
            out.append(digits, 0, static_cast<std::size_t>(exponent + 1));
            out += decimalSeparator;
            out.append(digits, static_cast<std::size_t>(exponent + 1));
        }
        return out;
    }
    out += digits[0];
    if (n > 1) {
        out += decimalSeparator;
        out.append(digits, 1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int absExp = std::abs(exponent);
    if (absExp < 10)
        out += '0';
    out += std::to_string(absExp);
    return out;
}

TextNumber textToNumber(std::string_view text, char decimalSeparator) noexcept
{
    constexpr TextNumber notANumber {0, 13};
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    // Rebuild the number in from_chars' own syntax ('.' separator, no '+').
    std::array<char, 64> buf {};
    std::size_t len = 0;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    int mantissaDigits = 0;
    int integerDigits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        if (isDigit(text[i])) {
            ++mantissaDigits;
            if (!seenSeparator)
                ++integerDigits;
        } else if (text[i] == decimalSeparator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return notANumber;
    long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExp = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            negativeExp = text[j] == '-';
            ++j;
        }
        if (j >= n || !isDigit(text[j]))
            return notANumber;
        for (; j < n && isDigit(text[j]); ++j)
            exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
        if (negativeExp)
            exponent = -exponent;
        i = j;
    }
    const std::size_t numberEnd = i;
    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return notANumber;

    std::string copy; // the rare long text; the common case stays on the stack
    char *out = buf.data();
    const std::size_t needed = numberEnd - numberStart + 1;
    if (needed > buf.size()) {
        copy.resize(needed);
        out = copy.data();
    }
    for (std::size_t k = numberStart; k < numberEnd; ++k)
        out[len++] = text[k] == decimalSeparator ? '.' : text[k];

    double value = 0;
    const auto res = std::from_chars(out, out + len, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large is an overflow, too small reads as 0: the decimal exponent
        // of the first significant digit tells which.
        long lead = integerDigits - 1;
        for (std::size_t k = numberStart; k < numberEnd; ++k) {
            if (text[k] == decimalSeparator)
                continue;
            if (text[k] != '0')
                break;
            --lead;
        }
        if (lead + exponent > 0)
            return TextNumber {0, 6};
        return TextNumber {negative ? -0.0 : 0.0, 0};
    }
    if (res.ec != std::errc() || res.ptr != out + len)
        return notANumber;
    return TextNumber {negative ? -value : value, 0};
}

} // namespace zelvo
