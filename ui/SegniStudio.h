#pragma once

#include "analysis/Studio.h"
#include "plot/Superficie.h"

#include <string_view>

namespace zelvo {

// The study's points marked on the traced graph, over it, at the scales it
// was traced with: a cross at each zero, relative extreme and inflection, a
// square at the absolute extremes, a dotted vertical line at each vertical
// asymptote. Only what falls inside the plot frame is drawn; the next Cls
// (the next run of calcolo) erases the marks with the graph.
void segnaStudio(Superficie &superficie, const Studio &studio, double scalaX, double scalaY);

// The colour a kind of feature (RigaStudio::chiave) is marked in; the study
// window writes the kind's name in it, so the table is the legend. Black for
// the kinds that are not marked.
Colore coloreSegno(std::string_view chiave) noexcept;

} // namespace zelvo
