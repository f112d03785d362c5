#include "ui/Pulsante.h"

#include "ui/Layout.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

namespace zelvo {

namespace {

constexpr int flagsTesto = Qt::AlignCenter | Qt::TextWordWrap;
constexpr int bordo = 2; // the bevel

} // namespace

Pulsante::Pulsante(const QString &testo, QWidget *parent)
    : QPushButton(testo, parent)
{ }

void Pulsante::impostaFaccia(Colore colore)
{
    faccia_ = colore;
    update();
}

void Pulsante::impostaInVista(bool inVista)
{
    if (inVista_ == inVista)
        return;
    inVista_ = inVista;
    update();
}

QSize Pulsante::sizeHint() const
{
    const QRect testo = fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), flagsTesto, text());
    return testo.size() + QSize(4 * bordo, 4 * bordo);
}

void Pulsante::paintEvent(QPaintEvent *)
{
    QStylePainter pittore(this);
    QStyleOptionButton opzioni;
    initStyleOption(&opzioni);
    const bool premuto = isDown() || isChecked() || inVista_;

    if (faccia_) {
        // Windows-style bevel around a flat face of exactly the button's colour.
        const QBrush pennello(coloreQt(*faccia_));
        qDrawWinButton(&pittore, rect(), palette(), premuto, &pennello);
    } else {
        opzioni.text.clear();
        opzioni.icon = QIcon();
        pittore.drawControl(QStyle::CE_PushButtonBevel, opzioni);
    }

    QRect area = rect().adjusted(bordo, bordo, -bordo, -bordo);
    if (premuto)
        area.translate(1, 1);
    pittore.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    pittore.drawText(area, flagsTesto, text());

    if (inVista_) {
        pittore.setPen(QPen(palette().color(QPalette::WindowText), 2));
        pittore.setBrush(Qt::NoBrush);
        pittore.drawRect(rect().adjusted(3, 3, -3, -3));
    }

    if (hasFocus())
        segnaFuoco(pittore, rect(), palette());
}

void segnaFuoco(QPainter &pittore, const QRect &area, const QPalette &palette)
{
    // Over the bevel, in the highlight colour: seen on any face, at any
    // scale, whether the focus came from the keyboard or not (the style's
    // own focus rectangle is faint, and shows only after a key).
    pittore.save();
    QPen penna(palette.color(QPalette::Active, QPalette::Highlight), 2);
    penna.setJoinStyle(Qt::MiterJoin);
    pittore.setPen(penna);
    pittore.setBrush(Qt::NoBrush);
    pittore.setRenderHint(QPainter::Antialiasing, false);
    pittore.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
    pittore.restore();
}

} // namespace zelvo
