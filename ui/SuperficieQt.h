#pragma once

#include "plot/Superficie.h"

#include <QImage>
#include <QPalette>
#include <QSize>

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

    // The palette that resolves the system colours; what is drawn stays as it is.
    void impostaPalette(const QPalette &palette) { palette_ = palette; }

    // The screen colour of a surface colour: 0x00BBGGRR, or a system colour
    // through the palette.
    QRgb rgb(Colore colore) const;

protected:
    void cancella() override;
    void punto(float x, float y, Colore colore) override;
    void serieDiPunti(std::span<const Punto> punti) override;
    void linea(float x1, float y1, float x2, float y2, Colore colore) override;

private:
    // Set the pixel nearest to (x, y) in twips, if it lies on the surface.
    void metti(float x, float y, QRgb valore);
    void imposta(int x, int y, QRgb rgb)
    {
        reinterpret_cast<QRgb *>(immagine_.scanLine(y))[x] = rgb;
    }

    QImage immagine_;
    QPalette palette_;
};

} // namespace zelvo
