#pragma once

#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "plot/Superficie.h"

#include <string_view>

namespace zelvo {

// The study's points marked on the traced graph, over it, at the scales it
// was traced with: a cross at each zero, relative extreme and inflection, a
// square at the absolute extremes; the vertical, horizontal and oblique
// asymptotes as dashed lines across the frame; a hole as a hollow circle at
// its limit (and a filled dot at f(x) where f is defined there with another
// value); a jump's ends as dots, filled at the end f takes at x, hollow at
// the other. A hollow circle is emptied of the graph beneath it. Only what
// falls inside the plot frame is drawn; the next Cls (the next run of
// calcolo) erases the marks with the graph. Any surface: the window's, or
// an offscreen one for a picture.
void segnaStudio(Superficie &superficie, const Studio &studio, const Scuola &scuola, double scalaX,
                 double scalaY);

// The colour a kind of feature (RigaStudio::chiave) is marked in; the study
// window writes the kind's name in it, so the table is the legend. Black for
// the kinds that are not marked.
Colore coloreSegno(std::string_view chiave) noexcept;

} // namespace zelvo
