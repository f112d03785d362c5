#pragma once

#include "plot/Superficie.h"

namespace zelvo {

// The plot frame, in twips on the main window's surface. It never moves or
// stretches: the scales change only what one division stands for.
inline constexpr int cornicePassoX = 322; // division width
inline constexpr int cornicePassoY = 224; // division height
inline constexpr int corniceSinistra = 500; // x of the leftmost grid line
inline constexpr int corniceDestra = 6940; // x of the rightmost grid line
inline constexpr int corniceAlto = 0; // y of the top grid line
inline constexpr int corniceBasso = 4480; // y of the bottom grid line
inline constexpr int origineX = 3720; // the vertical axis: x = 0
inline constexpr int origineY = 2240; // the horizontal axis: y = 0
inline constexpr int semiLarghezza = 3220; // 10 divisions across
inline constexpr int semiAltezza = 2240; // 10 divisions down

static_assert(corniceDestra == corniceSinistra + 20 * cornicePassoX);
static_assert(corniceBasso == corniceAlto + 20 * cornicePassoY);
static_assert(origineX == corniceSinistra + semiLarghezza && semiLarghezza == 10 * cornicePassoX);
static_assert(origineY == corniceAlto + semiAltezza && semiAltezza == 10 * cornicePassoY);

// A point of the graph in twips: world x and y mapped in double precision,
// with the operations in this order. scalaX (scalaY) units of x (y) span half
// the frame.
inline double twipsX(double x, double scalaX)
{
    return (x * semiLarghezza) / scalaX + origineX;
}
inline double twipsY(double y, double scalaY)
{
    return origineY - (y * semiAltezza) / scalaY;
}

// Clear the surface and draw the empty plot frame in the foreground colour:
// 21 vertical dotted lines (a dot every 28 twips, top to bottom, left to
// right), 21 horizontal dotted lines (a dot every 42 twips, left to right, top
// to bottom), then the vertical axis from bottom to top and the horizontal
// axis from left to right. 6615 points and 2 lines, always the same.
void DisegnaGriglia(Superficie &superficie);

} // namespace zelvo
