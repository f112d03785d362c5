#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// What the integral command shows once the sum is done.
struct EsitoIntegrale
{
    std::string Label15; // the sum, or why there is none
    std::string stato; // the status line; empty when all is well
};

// The definite integral from estremoA to estremoB as a rectangle sum on the
// fixed grid 0.0001 (repeated addition): every grid point not beyond b adds
// f(x) * 0.0001, a point where f cannot be evaluated adds nothing. Nothing is
// summed unless the last calcolo accepted the interval and the function. Does
// not run calcolo.
EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale);

} // namespace zelvo
