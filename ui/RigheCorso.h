#pragma once

#include "analysis/Scuola.h"
#include "analysis/Studio.h"

#include <array>
#include <string>
#include <vector>

namespace zelvo {

// The study as a course writes it, for the study window and the printed
// sheet: parts in the course's order (dominio, simmetrie, intersezioni con
// gli assi, segno, limiti e asintoti, derivata prima, derivata seconda),
// each feature one row, and each column one thing:
// - x: where (a number, "-∞" or "+∞"), empty for a set or an interval;
// - y: the value there, f(x) or the limit ("+∞", "∄" where f is not
//   defined), empty where no value belongs to the row;
// - descrizione: the set, the interval or the line ("[-2; 0) ∪ (0; 2]",
//   "(-2; 1)", "y = x + 1", "x = 2"), or what the row means.
struct RigaCorso
{
    const char *sezione; // the part; the window shows it on its first row only
    const char *chiave; // the command line's key of the kind, for its colour
    std::string caratteristica;
    std::string x, y, descrizione;
};

inline constexpr std::array<const char *, 5> kColonneCorso
        = {"parte", "caratteristica", "x", "y", "descrizione"};

std::vector<RigaCorso> righeCorso(const Studio &studio, const Scuola &scuola,
                                  char separatoreDecimale);

// The row's texts in kColonneCorso's order, the part only on the first row
// of each part (`primaDellaParte`).
std::array<std::string, 5> testiCorso(const RigaCorso &riga, bool primaDellaParte);

} // namespace zelvo
