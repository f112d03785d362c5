#pragma once

#include "plot/StatoCalcolo.h"

namespace zelvo {

// The state a run of calcolo leaves after accepting a..b with the given step and
// the default scales: what the commands need before they sweep.
inline StatoCalcolo accettato(double a, double b, double passo = 0.001)
{
    StatoCalcolo stato;
    stato.estremoA = a;
    stato.estremoB = b;
    stato.passo = passo;
    stato.scalaX = 10;
    stato.scalaY = 10;
    stato.intervalloAccettato = true;
    return stato;
}

} // namespace zelvo
