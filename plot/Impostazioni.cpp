#include "plot/Impostazioni.h"

#include <array>
#include <span>

namespace zelvo {

namespace {

struct Voce
{
    std::string_view testo;
    double valore;
};

constexpr std::array vociPasso {
        Voce {"st0.1", 0.1},
        Voce {"st0.01", 0.01},
        Voce {"st0.001", 0.001},
        Voce {"st0.0001", 0.0001},
};

// A scale is 10 times the units per division that its item names.
constexpr std::array vociScalaX {
        Voce {"0.01/div.", 0.1},
        Voce {"0.1/div.", 1},
        Voce {"1/div.", 10},
        Voce {"10/div.", 100},
};

// The ordinate also offers "100/div."; the abscissa does not.
constexpr std::array vociScalaY {
        Voce {"0.01/div.", 0.1}, Voce {"0.1/div.", 1},    Voce {"1/div.", 10},
        Voce {"10/div.", 100},   Voce {"100/div.", 1000},
};

double scelta(std::string_view testo, std::span<const Voce> voci, double predefinito)
{
    for (const Voce &voce : voci)
        if (testo == voce.testo)
            return voce.valore;
    return predefinito;
}

} // namespace

double passoDaTesto(std::string_view Combo3)
{
    return scelta(Combo3, vociPasso, 0.001);
}

double scalaXDaTesto(std::string_view Combo1)
{
    return scelta(Combo1, vociScalaX, 10);
}

double scalaYDaTesto(std::string_view Combo2)
{
    return scelta(Combo2, vociScalaY, 10);
}

} // namespace zelvo
