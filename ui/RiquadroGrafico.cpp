#include "ui/RiquadroGrafico.h"

#include "ui/ImmagineGrafico.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPainter>
#include <QPen>

namespace zelvo {

namespace {

// How far the focus frame stands out of the plot frame (the frame's top is
// the window's, so there it lies just inside).
constexpr int margine = 3;

} // namespace

RiquadroGrafico::RiquadroGrafico(QWidget *finestra)
    : QWidget(finestra)
{
    setObjectName(QStringLiteral("RiquadroGrafico"));
    // Only the keyboard gives it the focus: a click on the graph leaves the
    // focus where the user was typing.
    setFocusPolicy(Qt::TabFocus);
    setGeometry(geometria());
}

QRect RiquadroGrafico::geometria()
{
    return rettangoloGrafico().adjusted(-margine, -margine, margine, margine)
            & QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

// Without the focus nothing is painted and the window's surface shows
// through; with it, a two-pixel frame in the highlight colour around the
// plot frame.
void RiquadroGrafico::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QPainter pittore(this);
    QPen penna(palette().color(QPalette::Active, QPalette::Highlight), 2);
    penna.setJoinStyle(Qt::MiterJoin);
    pittore.setPen(penna);
    pittore.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void RiquadroGrafico::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void RiquadroGrafico::focusOutEvent(QFocusEvent *event)
{
    // The parent repaints what the frame covered.
    update();
    QWidget::focusOutEvent(event);
}

// A right click passes on to the window, which offers the graph's menu where
// the mouse is; from the keyboard the menu opens at the frame's centre.
void RiquadroGrafico::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    const QPoint centro = rect().center();
    QContextMenuEvent perLaFinestra(QContextMenuEvent::Keyboard, mapToParent(centro),
                                    mapToGlobal(centro), event->modifiers());
    QApplication::sendEvent(parentWidget(), &perLaFinestra);
}

} // namespace zelvo
