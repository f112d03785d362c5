#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// What the root command shows.
struct EsitoRadice
{
    std::string radice; // the root found, or why there is none
    std::string stato; // the status line; empty when all is well
    bool calcolato = false; // a root was looked for: radice is one, or "nessuna radice"
};

// The root command: the rightmost zero of f on [estremoA, estremoB], from
// the study of f (to the last double where f is smooth), written to
// stato.xTrovato too; "nessuna radice" when f has none there. Nothing is
// computed unless the last calcolo accepted the interval and the function.
// Does not run calcolo.
EsitoRadice cercaRadice(StatoCalcolo &stato, Funzione &funzione, char separatoreDecimale);

} // namespace zelvo
