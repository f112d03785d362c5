#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvo {

// Conversions between numbers and the text the user reads and types. Both
// take the decimal separator explicitly: only ui/ asks which locale the user
// has, so nothing here depends on the C library's global locale.

// Room for any text scriviNumero writes.
inline constexpr std::size_t kMaxTestoNumero = 32;

// Writes at `out` the text of v as every label and list row shows it, and
// returns the end of it (at most kMaxTestoNumero characters, no terminator):
// rounded to 15 significant digits, trailing zeros dropped, no grouping, a
// leading "-" for negatives ("0" for -0), plain notation for a decimal
// exponent from -4 to 14, otherwise mantissa, "E", sign and at least two
// exponent digits ("1E-05", "1,5E+16" with a comma separator); "NaN", "Inf"
// and "-Inf" for the values that are no number. Allocates nothing: a list
// writes two numbers a row.
char *scriviNumero(char *out, double v, char separatoreDecimale) noexcept;

// The same text as a string.
std::string testoNumero(double v, char separatoreDecimale);

// Outcome of reading a number typed by the user.
struct NumeroLetto
{
    double valore = 0;
    int errore = 0; // 0: read; TipoNonCorrispondente: not a number; ErroreOverflow: too large

    bool ok() const noexcept { return errore == 0; }
};

// Reads a decimal number: optional blanks, an optional sign, digits with at
// most one decimal separator, an optional exponent (E or e, optional sign,
// digits), optional blanks. Group separators are refused, so under a comma
// locale "0.5" is error 13, never 5. A value beyond the double range is
// error 6; one too small for it reads as 0.
NumeroLetto leggiNumero(std::string_view testo, char separatoreDecimale) noexcept;

} // namespace zelvo
