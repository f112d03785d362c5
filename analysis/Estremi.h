#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// What the maximum or minimum command shows.
struct EsitoEstremo
{
    std::string x; // the abscissa of the extreme, or why there is none
    std::string valore; // the maximum (minimum): f at that abscissa
    std::string stato; // the status line; empty when all is well
    bool calcolato = false; // x and valore hold the extreme
};

// The absolute maximum (minimum) of f on [estremoA, estremoB], ends
// included, from the study of f: the rightmost where two are equal within
// 1e-12; none where f is unbounded above (below). The abscissa goes to
// stato.xTrovato. Nothing is computed unless the last calcolo accepted the
// interval and the function. Neither runs calcolo.
EsitoEstremo cercaMassimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);
EsitoEstremo cercaMinimo(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);

} // namespace zelvo
