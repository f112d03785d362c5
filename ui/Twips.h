#pragma once

#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zelvo {

// The layouts and the drawing surface are given in twips; on screen one pixel
// stands for 15 twips. Qt's logical pixels are that grid whatever the screen's
// DPI: on a high-DPI screen Qt scales logical pixels, never our twips. This is
// the one place where twips become pixels.
inline constexpr int twipsPerPixel = 15;

// A position in twips as a fractional logical pixel.
inline double pixelDaTwipsEsatto(double twips)
{
    return twips / twipsPerPixel;
}

// The logical pixel that holds a position in pixels: the nearest, halves up.
inline double pixelVicino(double pixel)
{
    return std::floor(pixel + 0.5);
}

// A surface coordinate in half twips counted from -7.5 twips, the lower
// bound of pixel 0: pixel k holds the half twips from 30k up to 30k + 30,
// bounds that are whole numbers. The sum is exact in double wherever such a
// bound is near: a float near 30k half twips (k >= 1, up to far beyond any
// int) or near -7.5 twips has fewer than 53 bits from its top one down to its
// last one and to the 15; only sums near 15, far from every bound, may round.
inline double mezziTwips(float twips)
{
    return static_cast<double>(twips) * 2 + twipsPerPixel;
}

// The pixel of a surface coordinate in twips among the pixels 0..n-1 of its
// axis: the one pixelVicino(pixelDaTwipsEsatto(twips)) names, found without a
// division, since a graph converts its points by the hundred thousand: the
// whole part of its half twips, divided by 30 in integers. False when the
// pixel lies outside 0..n-1 or the coordinate is not a number.
inline bool pixelDiCoordinata(float twips, int n, int &pixel)
{
    const double mezzi = mezziTwips(twips);
    if (!(mezzi >= 0 && mezzi < 0x1p62))
        return false;
    const std::uint64_t k = static_cast<std::uint64_t>(mezzi) / (2u * twipsPerPixel);
    if (k >= static_cast<std::uint64_t>(std::max(n, 0)))
        return false;
    pixel = static_cast<int>(k);
    return true;
}

// A dense screen's device pixels, in quarter twips each: 60 (a logical
// pixel) at a device pixel ratio of 1, 48 at 1.25, 40 at 1.5, 30 at 2. Ratios
// that give no whole number of quarter twips are taken at the nearest that do.
inline constexpr int quartiLogici = 4 * twipsPerPixel;
inline int quartiPerPixel(double scala)
{
    if (!(scala > 0))
        return quartiLogici;
    return static_cast<int>(
            std::clamp(std::lround(quartiLogici / scala), 1L, static_cast<long>(4 * quartiLogici)));
}

// As mezziTwips, for pixels of `quarti` quarter twips: a surface coordinate in
// eighths of a twip counted from the lower bound of pixel 0, so pixel k holds
// the eighths from 2k * quarti up to 2(k + 1) * quarti. For quarti = 60 it is
// mezziTwips times 4, exact where that is: the same pixels.
inline double ottaviTwips(float twips, int quarti)
{
    return static_cast<double>(twips) * 8 + quarti;
}

// pixelDiCoordinata for pixels of `quarti` quarter twips.
inline bool pixelDiCoordinata(float twips, int n, int quarti, int &pixel)
{
    const double ottavi = ottaviTwips(twips, quarti);
    if (!(ottavi >= 0 && ottavi < 0x1p62))
        return false;
    const std::uint64_t k
            = static_cast<std::uint64_t>(ottavi) / (2u * static_cast<unsigned>(quarti));
    if (k >= static_cast<std::uint64_t>(std::max(n, 0)))
        return false;
    pixel = static_cast<int>(k);
    return true;
}

// A position in twips as a fractional pixel of `quarti` quarter twips: for
// 60, exactly pixelDaTwipsEsatto.
inline double pixelDaTwipsEsatto(double twips, int quarti)
{
    return twips * 4 / quarti;
}

// The logical pixel nearest to a layout position or size in twips.
inline int pixelDaTwips(int twips)
{
    return static_cast<int>(pixelVicino(pixelDaTwipsEsatto(twips)));
}

// A font size in points as whole logical pixels: a point is 20 twips.
inline int pixelDaPunti(double punti)
{
    return static_cast<int>(pixelVicino(pixelDaTwipsEsatto(punti * 20)));
}

// A rectangle of a layout table, in logical pixels.
inline QRect rettangoloDaTwips(int sinistra, int alto, int larghezza, int altezza)
{
    return {pixelDaTwips(sinistra), pixelDaTwips(alto), pixelDaTwips(larghezza),
            pixelDaTwips(altezza)};
}

} // namespace zelvo
