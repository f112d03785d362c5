#pragma once

#include "engine/Funzione.h"
#include "plot/Griglia.h"
#include "plot/StatoCalcolo.h"
#include "plot/Superficie.h"

#include <optional>
#include <string>

namespace zelvo {

// The texts that a run of calcolo reads, as typed.
struct TestiCalcolo
{
    std::string funzione; // the expression of f
    std::string a, b; // the interval's ends
    std::string passo; // the step: an item of vociPasso
    std::string scalaX, scalaY; // the scales: items of vociScalaX, vociScalaY
};

// What a run of calcolo shows.
struct EsitoCalcolo
{
    // The step and the scales (units a division) now in use; empty when the
    // run ended before choosing them (what was shown of them stays).
    std::optional<std::string> passo, scalaX, scalaY;
    // The status line: why the run ended early or what failed; empty when all is well.
    std::string stato;
};

// One run of the plot: frame, definition of f from its text, settings, sweep and
// tracing, markers. Failures end the run where they happen and are reported in
// EsitoCalcolo::stato; nothing is thrown.
EsitoCalcolo calcolo(const TestiCalcolo &testi, char separatoreDecimale, Funzione &funzione,
                     StatoCalcolo &stato, Superficie &superficie);

} // namespace zelvo
