#pragma once

#include <QRect>

#include <algorithm>
#include <cmath>

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

// A position in twips as a fractional pixel of `quarti` quarter twips: for
// 60, exactly pixelDaTwipsEsatto.
inline double pixelDaTwipsEsatto(double twips, int quarti)
{
    return twips * 4 / quarti;
}

// The pixel of a surface coordinate in twips among the pixels 0..n-1 of its
// axis, for pixels of `quarti` quarter twips: the nearest, halves up. False
// when it lies outside 0..n-1 or the coordinate is not a number.
inline bool pixelDiCoordinata(float twips, int n, int quarti, int &pixel)
{
    const double c = pixelVicino(pixelDaTwipsEsatto(twips, quarti));
    if (!(c >= 0 && c < n))
        return false;
    pixel = static_cast<int>(c);
    return true;
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
