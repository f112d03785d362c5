#pragma once

#include "plot/Superficie.h"

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace zelvo {

// One image a surface draws on, at `quarti` quarter twips per pixel: 60 (15
// twips, one logical pixel) for the logical image, fewer for the device
// pixels of a dense screen (48 at 125 %, 40 at 150 %, 30 at 200 %). Pixel k
// of an axis holds the twips nearest to k * quarti / 4.
class TelaQt
{
public:
    TelaQt(QSize pixel, int quarti, QRgb sfondo);

    QImage immagine;
    int quarti;
    // The pixels changed since the owner last asked, and where anything but
    // the background may lie (outside it, Cls has nothing to do).
    QRect cambiato, disegnato;

    void ridimensiona(QSize pixel, QRgb sfondo);
    void cancella(QRgb sfondo);
    void punto(float x, float y, QRgb rgb);
    // The colour of each point comes through `colore`, asked only when it
    // changes from the point before; `ultimo` and `valore` carry the last
    // colour and its screen colour across calls.
    template<class Converti>
    void serie(std::span<const Punto> punti, Colore &ultimo, QRgb &valore, Converti colore);
    void linea(float x1, float y1, float x2, float y2, QRgb rgb);

private:
    void imposta(int x, int y, QRgb rgb)
    {
        reinterpret_cast<QRgb *>(immagine.scanLine(y))[x] = rgb;
    }
    void segna(const QRect &r)
    {
        cambiato |= r;
        disegnato |= r;
    }
    void segna(int x, int y)
    {
        const auto dentro = [x, y](const QRect &r) {
            return x >= r.left() && x <= r.right() && y >= r.top() && y <= r.bottom();
        };
        if (!dentro(cambiato) || !dentro(disegnato))
            segna(QRect(x, y, 1, 1));
    }
};

// The drawing surface on Qt: a retained image at one logical pixel per 15
// twips. It keeps what was drawn, so a widget that shows it only copies the
// image in its paintEvent and a repaint never erases a graph. On a dense
// screen it also draws every operation at the screen's device pixels, so the
// graph is as sharp as the text: a point is one device pixel, a line one
// device pixel wide.
class SuperficieQt : public Superficie
{
public:
    // A surface of the given size in logical pixels, cleared to the palette's
    // window colour (the button face of the main window), drawn as well at
    // `scala` device pixels per logical pixel when that is not 1.
    explicit SuperficieQt(QSize pixel, const QPalette &palette = QPalette(), double scala = 1);
    ~SuperficieQt() override;
    SuperficieQt(SuperficieQt &&) noexcept;
    SuperficieQt &operator=(SuperficieQt &&) noexcept;

    // The logical picture: what a screen at 100 % shows, and what is copied
    // and saved whatever the screen.
    const QImage &immagine() const { return logica_.immagine; }
    // The picture at the device pixels of the screen, with its device pixel
    // ratio set: the logical one on a screen at 100 %.
    const QImage &immagineSchermo() const { return densa_ ? densa_->immagine : logica_.immagine; }
    QSize dimensione() const { return logica_.immagine.size(); }

    // The device pixel ratio the surface draws at: the one asked for, made
    // exact in quarter twips (1, 1.25, 1.5 and 2 are exact).
    double scala() const;
    // Draws from now on at this device pixel ratio; what was drawn since the
    // last Cls is drawn again at the new one.
    void impostaScala(double scala);

    // Grow or shrink to `pixel` (logical), keeping what lies in both sizes;
    // new area is background.
    void ridimensiona(QSize pixel);

    // The palette that resolves the system colours; what is drawn stays as it
    // is, and the next Cls clears the whole surface to the new background.
    void impostaPalette(const QPalette &palette);

    // The screen colour of a surface colour: 0x00BBGGRR, or a system colour
    // through the palette.
    QRgb rgb(Colore colore) const;

    // The logical pixels changed since the last call (or since the surface
    // was made), as one rectangle, empty when none: all that a widget showing
    // the surface has to repaint.
    QRect ritiraCambiato();

protected:
    void cancella() override;
    void punto(float x, float y, Colore colore) override;
    void serieDiPunti(std::span<const Punto> punti) override;
    void linea(float x1, float y1, float x2, float y2, Colore colore) override;

private:
    // What was drawn since the last Cls, in order, to draw it again at
    // another device pixel ratio.
    struct Comando
    {
        enum class Tipo { Punto, Serie, Linea } tipo;
        float x1, y1, x2, y2;
        Colore colore;
        std::size_t inizio, quanti; // a series: its points in punti_
    };
    void ridisegnaDensa();

    QPalette palette_;
    TelaQt logica_;
    std::unique_ptr<TelaQt> densa_; // only on a dense screen
    // The screen colour of the surface colour last drawn: points come in
    // long runs of one colour.
    Colore ultimoColore_ = coloreNero;
    QRgb ultimoRgb_ = qRgb(0, 0, 0);
    std::vector<Comando> comandi_;
    std::vector<Punto> punti_;
};

} // namespace zelvo
