#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// What the root command shows.
struct EsitoRadice
{
    std::string Label21; // the root found, or why there is none
    std::string stato; // the status line; empty when all is well
};

// The root search: f sampled from estremoA to estremoB on the fixed grid 0.0001
// (repeated addition); the last grid point with -0.001 < f(x) < 0.001 is the
// root shown and goes to stato.xTrovato. A point where f cannot be evaluated is
// no root. Nothing is swept unless the last calcolo accepted the interval and
// the function. Does not run calcolo.
EsitoRadice cercaRadice(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);

} // namespace zelvo
