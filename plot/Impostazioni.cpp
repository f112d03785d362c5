#include "plot/Impostazioni.h"

#include <span>

namespace zelvo {

namespace {

constexpr double passoPredefinito = 0.001;
constexpr double scalaPredefinita = 10;

double scelta(std::string_view testo, std::span<const VoceCombo> voci, double predefinito)
{
    for (const VoceCombo &voce : voci)
        if (voce.valore && testo == voce.testo)
            return *voce.valore;
    return predefinito;
}

} // namespace

double passoDaTesto(std::string_view Combo3)
{
    return scelta(Combo3, vociCombo3, passoPredefinito);
}

double scalaXDaTesto(std::string_view Combo1)
{
    return scelta(Combo1, vociCombo1, scalaPredefinita);
}

double scalaYDaTesto(std::string_view Combo2)
{
    return scelta(Combo2, vociCombo2, scalaPredefinita);
}

} // namespace zelvo
