#include "plot/Impostazioni.h"

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

std::span<const VoceCombo> vociDi(Impostazione impostazione)
{
    switch (impostazione) {
    case Impostazione::Passo:
        return vociPasso;
    case Impostazione::ScalaX:
        return vociScalaX;
    case Impostazione::ScalaY:
        break;
    }
    return vociScalaY;
}

double passoDaTesto(std::string_view passo)
{
    return scelta(passo, vociPasso, passoPredefinito);
}

double scalaXDaTesto(std::string_view scalaX)
{
    return scelta(scalaX, vociScalaX, scalaPredefinita);
}

double scalaYDaTesto(std::string_view scalaY)
{
    return scelta(scalaY, vociScalaY, scalaPredefinita);
}

std::string voceNonRiconosciuta(Impostazione impostazione, std::string_view testo,
                                std::string_view didascalia)
{
    if (testo == didascalia)
        return {};
    const bool passo = impostazione == Impostazione::Passo;
    const std::span<const VoceCombo> voci = vociDi(impostazione);
    std::string offerte;
    for (const VoceCombo &voce : voci) {
        if (testo == voce.testo)
            return {}; // an item, or the empty text
        if (*voce.testo != '\0')
            offerte += (offerte.empty() ? "" : ", ") + std::string(voce.testo);
    }
    const char *cosa = passo                       ? "Passo di calcolo"
            : impostazione == Impostazione::ScalaX ? "Scala delle ascisse"
                                                   : "Scala delle ordinate";
    const char *usato = passo ? "0.001" : "1/div.";
    return std::string(cosa) + ": \"" + std::string(testo) + "\" non riconosciuto, usato " + usato
            + " (voci: " + offerte + ")";
}

} // namespace zelvo
