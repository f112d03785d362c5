#pragma once

#include <cstddef>
#include <vector>

namespace zelvo {

class Funzione;

// The candidate special points of f on [a, b] read from the expression, as
// a student lists them: for each operation that may break (Funzione::
// rotture), the points where its operand crosses or touches one of its
// levels (a divisor's 0, Int's integers, Tan's pi/2 + k pi...), found on
// `celle` equal cells and located to two adjacent doubles; the point named
// is the one where the operand is on the level, else the simpler. Ascending,
// each once, at most `massimo` (the first ones); empty when f names none.
std::vector<double> puntiCandidati(Funzione &f, double a, double b, std::size_t celle,
                                   std::size_t massimo);

} // namespace zelvo
