#include "plot/Griglia.h"

namespace zelvo {

namespace {

// Dot pitches along a vertical and along a horizontal grid line. 42 does not
// divide 6440, so the horizontal lines stop at x = 6926, 14 twips short.
constexpr int passoPuntiVerticale = 28;
constexpr int passoPuntiOrizzontale = 42;

} // namespace

void DisegnaGriglia(Superficie &superficie)
{
    constexpr int larghezza = corniceDestra - corniceSinistra;
    constexpr int altezza = corniceBasso - corniceAlto;

    superficie.Cls();
    // Each loop includes its end value when the step reaches it exactly.
    for (int i = 0; i <= larghezza; i += cornicePassoX)
        for (int j = 0; j <= altezza; j += passoPuntiVerticale)
            superficie.PSet(static_cast<float>(i + corniceSinistra),
                            static_cast<float>(j + corniceAlto));
    for (int j = 0; j <= altezza; j += cornicePassoY)
        for (int i = 0; i <= larghezza; i += passoPuntiOrizzontale)
            superficie.PSet(static_cast<float>(i + corniceSinistra),
                            static_cast<float>(j + corniceAlto));
    superficie.Line(origineX, corniceBasso, origineX, corniceAlto);
    superficie.Line(corniceSinistra, origineY, corniceDestra, origineY);
}

} // namespace zelvo
