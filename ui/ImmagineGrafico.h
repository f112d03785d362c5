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

// A surface just large enough for the frame, in the colours of `palette`:
// what the command line draws on when it has no window.
SuperficieQt superficieGrafico(const QPalette &palette);

} // namespace zelvo
