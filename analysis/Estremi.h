#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// What the maximum or minimum command shows.
struct EsitoEstremo
{
    std::string Label13; // the abscissa of the extreme, or why there is none
    std::string valore; // f at that abscissa: Label16 for the maximum, Label20 for the minimum
    std::string stato; // the status line; empty when all is well
};

// The extremes: f sampled from estremoA to estremoB by passo (repeated
// addition), each sample stored in stato.valoriY and compared with the one
// before it (the first with valoriY[0] = 0); the last sample strictly higher
// (cercaMassimo) or strictly lower (cercaMinimo) than its predecessor is the
// extreme, written to stato.xTrovato; f is evaluated afresh there. Points
// where f cannot be evaluated are left out of the comparisons. Nothing is
// swept unless the last calcolo accepted the interval, the step and the
// function. Neither runs calcolo.
EsitoEstremo cercaMassimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);
EsitoEstremo cercaMinimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);

} // namespace zelvo
