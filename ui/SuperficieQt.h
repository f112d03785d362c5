#pragma once

#include "plot/Superficie.h"

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QSize>

#include <utility>

namespace zelvo {

// The drawing surface on Qt: a retained image at one logical pixel per 15
// twips. It keeps what was drawn, so a widget that shows it only copies the
// image in its paintEvent and a repaint never erases a graph.
class SuperficieQt : public Superficie
{
public:
    // A surface of the given size in logical pixels, cleared to the palette's
    // window colour (the button face of the main window).
    explicit SuperficieQt(QSize pixel, const QPalette &palette = QPalette());

    const QImage &immagine() const { return immagine_; }
    QSize dimensione() const { return immagine_.size(); }

    // Grow or shrink to `pixel`, keeping what lies in both sizes; new area is
    // background.
    void ridimensiona(QSize pixel);

    // The palette that resolves the system colours; what is drawn stays as it
    // is, and the next Cls clears the whole surface to the new background.
    void impostaPalette(const QPalette &palette)
    {
        palette_ = palette;
        disegnato_ = immagine_.rect();
        ultimoColore_ = coloreNero;
        ultimoRgb_ = qRgb(0, 0, 0);
    }

    // The screen colour of a surface colour: 0x00BBGGRR, or a system colour
    // through the palette.
    QRgb rgb(Colore colore) const;

    // The pixels changed since the last call (or since the surface was made),
    // as one rectangle, empty when none: all that a widget showing the
    // surface has to repaint.
    QRect ritiraCambiato() { return std::exchange(cambiato_, QRect()); }

protected:
    void cancella() override;
    void punto(float x, float y, Colore colore) override;
    void serieDiPunti(std::span<const Punto> punti) override;
    void linea(float x1, float y1, float x2, float y2, Colore colore) override;

private:
    void imposta(int x, int y, QRgb rgb)
    {
        reinterpret_cast<QRgb *>(immagine_.scanLine(y))[x] = rgb;
    }
    void segna(const QRect &r)
    {
        cambiato_ |= r;
        disegnato_ |= r;
    }
    void segna(int x, int y)
    {
        const auto dentro = [x, y](const QRect &r) {
            return x >= r.left() && x <= r.right() && y >= r.top() && y <= r.bottom();
        };
        if (!dentro(cambiato_) || !dentro(disegnato_))
            segna(QRect(x, y, 1, 1));
    }

    QImage immagine_;
    QPalette palette_;
    int larghezza_, altezza_; // the image's, asked once for the frame's single points
    // The screen colour of the surface colour last drawn: points come in
    // long runs of one colour.
    Colore ultimoColore_ = coloreNero;
    QRgb ultimoRgb_ = qRgb(0, 0, 0);
    QRect cambiato_;
    // Where anything but the background may lie: outside it, Cls has nothing to do.
    QRect disegnato_;
};

} // namespace zelvo
