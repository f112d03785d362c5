#pragma once

#include <vector>

namespace zelvo {

// The window-level calculation state: written by calcolo, read by every
// command. It belongs to the application, not to a widget, so it survives
// closing and reopening the main window. Everything starts at 0.
struct StatoCalcolo
{
    double estremoA = 0; // start a of the interval
    double estremoB = 0; // end b of the interval
    double passo = 0; // calculation step
    double scalaX = 0; // x units in half the frame's width (10 divisions)
    double scalaY = 0; // y units in half the frame's height (10 divisions)

    // Sample n (counted from 1) of the last sweep at index n; index 0 is never
    // written and holds 0. Grows to hold every sample; never shrinks, so
    // entries past the last sample keep older values.
    std::vector<double> valoriY = std::vector<double>(1, 0.0);

    // True when the last run of calcolo read both ends and accepted the
    // interval (|a| and |b| at most 10.1); the commands compute only then.
    bool intervalloAccettato = false;
    // The abscissa last found by the root, maximum or minimum command; never cleared.
    double xTrovato = 0;
};

} // namespace zelvo
