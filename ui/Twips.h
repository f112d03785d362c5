#pragma once

#include <QRect>

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
