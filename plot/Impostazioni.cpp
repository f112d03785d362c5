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

std::string voceNonRiconosciuta(std::string_view combo, std::string_view testo,
                                std::string_view didascalia)
{
    if (testo == didascalia)
        return {};
    const bool passo = combo == "Combo3";
    const std::span<const VoceCombo> voci = passo ? std::span<const VoceCombo>(vociCombo3)
            : combo == "Combo1"                   ? std::span<const VoceCombo>(vociCombo1)
                                                  : std::span<const VoceCombo>(vociCombo2);
    std::string offerte;
    for (const VoceCombo &voce : voci) {
        if (testo == voce.testo)
            return {}; // an item, or the empty text
        if (*voce.testo != '\0')
            offerte += (offerte.empty() ? "" : ", ") + std::string(voce.testo);
    }
    const char *cosa = passo ? "Passo di calcolo"
                             : (combo == "Combo1" ? "Scala delle ascisse" : "Scala delle ordinate");
    const char *usato = passo ? "0.001" : "1/div.";
    return std::string(cosa) + ": \"" + std::string(testo) + "\" non riconosciuto, usato " + usato
            + " (voci: " + offerte + ")";
}

} // namespace zelvo
