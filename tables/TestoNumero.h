#pragma once

#include <cstddef>

namespace zelvo {

// Room for any text scriviNumero writes.
inline constexpr std::size_t kMaxTestoNumero = 32;

// Writes at `out` the same text as numberToText(v, separatoreDecimale) and
// returns the end of it; at most kMaxTestoNumero characters, no terminator.
// The plain notation of the sweeps' numbers is built here without allocating;
// anything else (exponent form, exact ties, NaN) is left to numberToText.
char *scriviNumero(char *out, double v, char separatoreDecimale);

} // namespace zelvo
