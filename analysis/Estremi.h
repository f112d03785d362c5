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
    bool calcolato = false; // Label13 and valore hold the extreme
};

// The absolute maximum (minimum) of f on [estremoA, estremoB], ends
// included, from the study of f: the rightmost where two are equal within
// 1e-12; none where f is unbounded above (below). The abscissa goes to
// stato.xTrovato. Nothing is computed unless the last calcolo accepted the
// interval and the function. Neither runs calcolo.
EsitoEstremo cercaMassimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);
EsitoEstremo cercaMinimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);

} // namespace zelvo
