#pragma once

#include "engine/Funzione.h"
#include "plot/Griglia.h"
#include "plot/StatoCalcolo.h"
#include "plot/Superficie.h"

#include <optional>
#include <string>

namespace zelvo {

// The texts of the main window's controls that a run of calcolo reads, as typed.
struct TestiCalcolo
{
    std::string Text1; // the expression
    std::string Text2; // a
    std::string Text3; // b
    std::string Combo3; // the step
    std::string Combo1; // the x scale
    std::string Combo2; // the y scale
};

// What a run of calcolo writes into the main window's controls.
struct EsitoCalcolo
{
    // New captions of the step and scale labels; empty when the run ended
    // before writing them (the labels then keep what they showed).
    std::optional<std::string> Label23, Label7, Label9;
    // The status line: why the run ended early or what failed; empty when all is well.
    std::string stato;
};

// One run of the plot: frame, definition of f from Text1, settings, sweep and
// tracing, markers. Failures end the run where they happen and are reported in
// EsitoCalcolo::stato; nothing is thrown.
EsitoCalcolo calcolo(const TestiCalcolo &testi, char separatoreDecimale, Funzione &funzione,
                     StatoCalcolo &stato, Superficie &superficie);

} // namespace zelvo
