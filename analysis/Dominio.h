#pragma once

#include "analysis/Studio.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvo {

class Funzione;

// An interval as the school writes it: its ends (-inf and +inf allowed,
// always open) and whether each belongs to it. da == a, both closed: one
// point.
struct TrattoChiuso
{
    double da = 0;
    double a = 0;
    bool chiusoDa = true;
    bool chiusoA = true;
};

// Where f is defined on [a, b]: [a, b] less the stretches where the study
// found f not defined, each end put back where f can be computed there
// (Sqr(4-x^2) on -3..3 is [-2; 2], 1/x on -2..2 is [-2; 0) ∪ (0; 2]).
std::vector<TrattoChiuso> dominio(Funzione &f, const Studio &studio, double a, double b);

// The values f takes on [a, b] (codominio), from the study's pieces: on each
// piece, from the least to the greatest of its relative extrema and of the
// limits at its ends, an end closed where a value attains it; the pieces'
// intervals joined (1/x on -2..2 is (-inf; -0,5] ∪ [0,5; +inf), x-Int(x) is
// [0; 1)). None where a limit at the end of a piece does not exist
// (Sin(1/x) at 0) or is not known.
std::optional<std::vector<TrattoChiuso>> codominio(Funzione &f, const Studio &studio);

// The point (0, f(0)) where 0 is in [a, b] and f is defined there.
std::optional<PuntoNotevole> intersezioneY(Funzione &f, double a, double b);

// The tangent y = m·x + q at an inflection (x of the inflection).
struct Tangente
{
    double x = 0;
    double m = 0;
    double q = 0;
};

// The tangent at each inflection of the study with a finite slope, in
// ascending x.
std::vector<Tangente> tangentiFlessi(Funzione &f, const Studio &studio);

// The intervals as the school writes them, joined by " ∪ ": "[-2; 0) ∪
// (0; 2]", "(-∞; -0,5]"; "∅" for none.
std::string testoTratti(const std::vector<TrattoChiuso> &tratti, char separatoreDecimale);

} // namespace zelvo
