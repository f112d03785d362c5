#pragma once

#include "ui/SuperficieQt.h"

#include <QImage>
#include <QPalette>
#include <QRect>

namespace zelvo {

// The plot frame on the main window's surface, in logical pixels: from the
// leftmost to the rightmost grid line and from the top to the bottom one,
// both included. Everything the graph shows lies inside it.
QRect rettangoloGrafico();

// The frame's picture: exactly the pixels the window shows inside the frame.
// "Copia grafico", "Salva grafico…" and the command line's --grafico all
// take it from here.
QImage immagineGrafico(const SuperficieQt &superficie);

// The frame as the surface draws it at its device pixels: the same picture
// denser, exactly the scale times as wide and as high as the logical one
// (which it is at a scale of 1), with no device pixel ratio of its own. The command line's
// --grafico-scala takes it from here.
QImage immagineGraficoDensa(const SuperficieQt &superficie);

// A surface just large enough for the frame, in the colours of `palette`,
// drawing also at `scala` device pixels per logical pixel: what the command
// line draws on when it has no window.
SuperficieQt superficieGrafico(const QPalette &palette, double scala = 1);

} // namespace zelvo
