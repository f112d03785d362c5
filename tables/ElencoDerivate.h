#pragma once

#include "plot/StatoCalcolo.h"

#include <string>

namespace zelvo {

class Funzione;

// The value list with the exact first and second derivatives beside f.
struct TabellaDerivate
{
    std::string csv;
    std::string stato; // the status line; empty when all is well
};

// The value list's sweep (estremoA to estremoB by passo, as Ascisse)
// as a CSV file: the header "x;y;dy;d2y" beside a decimal comma ("x,y,dy,d2y"
// beside a point), then x, f(x), f'(x), f''(x) a line, numbers as the rows
// write them. A field is empty where its value is not defined: y where f
// cannot be evaluated; dy and d2y there, where f has a corner, a jump or an
// infinite slope, and for a function without exact derivatives (which the
// status says). Nothing but the header unless the last calcolo accepted the
// interval, the step and the function.
TabellaDerivate csvDerivate(const StatoCalcolo &stato, Funzione &funzione,
                            char separatoreDecimale);

} // namespace zelvo
