#pragma once

#include "analysis/Scuola.h"
#include "analysis/Studio.h"

#include <array>
#include <string>
#include <vector>

namespace zelvo {

// The study of f as the user reads it: one row per feature for the window's
// table and the command line, and the sign, growth and concavity chart of
// the Italian school. Every number as the labels write it.

// One feature: its kind (the command line's key and the table's words) and
// up to two numbers. A point gives x and f(x); an interval or a stretch
// where f is not defined gives its two ends; a zero, an asymptote or a jump
// gives x alone (secondo empty).
struct RigaStudio
{
    const char *chiave; // "massimo_relativo"
    const char *nome; // "massimo relativo"
    // A limit gives its two sides in secondo ("1; 0", "; 0" where the left
    // side is outside [a, b] or the domain), a corner its value and slopes.
    std::string primo, secondo;
};

// Every feature, kinds in the command line's order (zeros, relative maxima
// and minima, inflections, absolute maximum and minimum, undefined stretches,
// vertical asymptotes, jumps, holes, limits, corners, cusps, vertical and
// horizontal inflections, supremum and infimum not attained, then the
// intervals of sign, growth and concavity), each kind ascending in x. A
// limit is a number, "-inf", "+inf", "non_esiste", or empty where that side
// is outside [a, b] or outside the domain.
std::vector<RigaStudio> righeStudio(const Studio &studio, char separatoreDecimale);

// The rows as the command line prints them: "chiave = primo" or
// "chiave = primo; secondo", each ended by "\n".
std::string testoStudio(const Studio &studio, char separatoreDecimale);

// The features of a course's study beyond the study's own rows, in the
// command line's order: "dominio" and "codominio" (one row per interval,
// "[-2; 0)", "(0,5; +inf)"), "intersezione_y" (0; f(0)), "parita" (pari,
// dispari or nessuna; the M of [-M; M]), "periodo" (T), then for -inf and +inf where f is
// defined for large |x| "limite_infinito" (the side; a number, -inf, +inf,
// non_esiste or "non determinato"), "asintoto_orizzontale" (side; L),
// "asintoto_obliquo" (side; m; q), and "tangente_flesso" (x; m; q).
std::vector<RigaStudio> righeScuola(const Scuola &scuola, char separatoreDecimale);

// The command line's --studio: righeScuola's rows, then righeStudio's.
std::string testoStudio(const Scuola &scuola, const Studio &studio, char separatoreDecimale);

// The chart: columns alternate between a breakpoint and the open stretch up
// to the next one, from a to b. intestazione holds the breakpoints' x (the
// stretches' headers are empty). Row 0 ("segno di f"): "+" or "−" on a
// stretch, "0" at a zero; row 1 ("crescenza"): "↗", "↘" or "→" (constant),
// "max" or "min" at a relative extreme; row 2 ("concavità"): "∪" or "∩",
// "flesso" at an inflection. Where f is not defined every row says "∄".
struct SchemaStudio
{
    std::vector<std::string> intestazione;
    std::array<std::vector<std::string>, 3> righe;
};

inline constexpr std::array<const char *, 3> kRigheSchema
        = {"segno di f", "crescenza", "concavità"};

SchemaStudio schemaStudio(const Studio &studio, double a, double b, char separatoreDecimale);

} // namespace zelvo
