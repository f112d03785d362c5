#include "ui/SuperficieQt.h"

#include "ui/Twips.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zelvo {

namespace {

// The palette role that stands for each system colour the windows use (the
// low byte of a system colour is its index in the system's colour table).
QPalette::ColorRole ruoloDiSistema(Colore colore)
{
    switch (colore & 0xFFu) {
    case 0x05: // window
        return QPalette::Base;
    case 0x08: // window text
        return QPalette::Text;
    case 0x0F: // button face: the background of our windows, hence Window
        return QPalette::Window;
    case 0x12: // button text
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

// The pixel nearest to a point in twips; false when it lies outside an image
// of this size.
bool pixelDelPunto(float x, float y, int larghezza, int altezza, int &px, int &py)
{
    return pixelDiCoordinata(x, larghezza, px) && pixelDiCoordinata(y, altezza, py);
}

typedef float Vf4 __attribute__((vector_size(16)));
typedef std::int32_t Vi4 __attribute__((vector_size(16)));

// The coordinates that land where the last point of a series landed on one
// axis: on its pixel, or off the axis below or above it. The points after it
// that land there too need no conversion, and a graph's points come by the
// hundred in one pixel column.
class Intervallo
{
public:
    bool contiene(float twips) const { return twips >= da_ && twips < a_; }
    int pixel() const { return pixel_; } // -1 when off the axis
    float da() const { return da_; }
    float a() const { return a_; }

    // Where `twips` lands on an axis of n pixels, as pixelDiCoordinata finds
    // it, and the bounds of that pixel (or of that side off the axis).
    void trova(float twips, int n)
    {
        constexpr double infinito = std::numeric_limits<double>::infinity();
        constexpr int passo = 2 * twipsPerPixel; // half twips per pixel
        const double mezzi = mezziTwips(twips);
        const double fine = static_cast<double>(passo) * n; // the first half twip past the axis
        double da = 1, a = 0; // empty: a coordinate that is not a number lands nowhere
        pixel_ = -1;
        if (mezzi < 0) {
            da = -infinito;
            a = 0;
        } else if (mezzi >= fine) {
            da = fine;
            a = infinito;
        } else if (mezzi >= 0) { // below 30n, so the division fits
            pixel_ = static_cast<int>(static_cast<std::uint64_t>(mezzi) / passo);
            da = static_cast<double>(passo) * pixel_;
            a = da + passo;
        }
        da_ = primoFloat(da);
        a_ = primoFloat(a);
    }

private:
    // The least float at or above a bound given in half twips (whole
    // numbers, so the twips are exact in double): for any float x, x lies at
    // or above the bound exactly when it lies at or above this float.
    static float primoFloat(double mezzi)
    {
        const double twips = (mezzi - twipsPerPixel) / 2;
        float f = static_cast<float>(twips);
        if (f < twips)
            f = std::nextafter(f, std::numeric_limits<float>::infinity());
        return f;
    }

    float da_ = 1, a_ = 0; // [da_, a_) in twips, empty at first
    int pixel_ = -1;
};

// Clips the segment (x0, y0)-(x1, y1), in pixels, to [-0.5, xMax] x [-0.5, yMax]
// (Cohen-Sutherland). A clipped end is put exactly on the edge it crosses, so
// ends far out (a marker at 1e30) lose no precision. False when nothing of
// the segment is inside or a coordinate is not a number.
bool ritaglia(double &x0, double &y0, double &x1, double &y1, double xMax, double yMax)
{
    constexpr double lo = -0.5;
    enum : unsigned { sinistra = 1, destra = 2, sopra = 4, sotto = 8 };
    auto codice = [&](double x, double y) {
        return (x < lo             ? sinistra
                        : x > xMax ? destra
                                   : 0u)
                | (y < lo             ? sopra
                           : y > yMax ? sotto
                                      : 0u);
    };
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1))
        return false;
    unsigned c0 = codice(x0, y0), c1 = codice(x1, y1);
    // Each pass puts one end on an edge; four passes settle any segment, the
    // rest only guards against rounding ping-pong.
    for (int passi = 0; c0 | c1; ++passi) {
        if ((c0 & c1) || passi == 8)
            return false;
        const unsigned fuori = c0 ? c0 : c1;
        double x, y;
        if (fuori & (sinistra | destra)) {
            x = fuori & sinistra ? lo : xMax;
            y = y0 + (y1 - y0) * ((x - x0) / (x1 - x0));
        } else {
            y = fuori & sopra ? lo : yMax;
            x = x0 + (x1 - x0) * ((y - y0) / (y1 - y0));
        }
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        if (fuori == c0) {
            x0 = x;
            y0 = y;
            c0 = codice(x0, y0);
        } else {
            x1 = x;
            y1 = y;
            c1 = codice(x1, y1);
        }
    }
    return true;
}

} // namespace

SuperficieQt::SuperficieQt(QSize pixel, const QPalette &palette)
    : immagine_(pixel.expandedTo({0, 0}), QImage::Format_RGB32)
    , palette_(palette)
    , larghezza_(immagine_.width())
    , altezza_(immagine_.height())
{
    immagine_.fill(rgb(coloreFacciaPulsante));
}

void SuperficieQt::ridimensiona(QSize pixel)
{
    pixel = pixel.expandedTo({0, 0});
    if (pixel == immagine_.size())
        return;
    QImage nuova(pixel, QImage::Format_RGB32);
    nuova.fill(rgb(coloreFacciaPulsante));
    QPainter pittore(&nuova);
    pittore.drawImage(0, 0, immagine_);
    pittore.end();
    immagine_ = std::move(nuova);
    larghezza_ = immagine_.width();
    altezza_ = immagine_.height();
    cambiato_ &= immagine_.rect();
    disegnato_ &= immagine_.rect();
}

QRgb SuperficieQt::rgb(Colore colore) const
{
    if (eColoreDiSistema(colore))
        return palette_.color(QPalette::Active, ruoloDiSistema(colore)).rgb();
    return qRgb(static_cast<int>(colore & 0xFFu), static_cast<int>((colore >> 8) & 0xFFu),
                static_cast<int>((colore >> 16) & 0xFFu));
}

void SuperficieQt::cancella()
{
    // Only what was drawn since the last Cls can differ from the background.
    const QRect r = disegnato_ & immagine_.rect();
    if (!r.isEmpty()) {
        // One row filled, then copied: plain stores, which leave the rows in
        // the cache for the frame that is drawn next.
        const auto riga = [this, &r](int y) {
            return reinterpret_cast<QRgb *>(immagine_.scanLine(y)) + r.left();
        };
        const auto larghezza = static_cast<std::size_t>(r.width());
        std::fill_n(riga(r.top()), larghezza, rgb(coloreFacciaPulsante));
        for (int y = r.top() + 1; y <= r.bottom(); ++y)
            std::memcpy(riga(y), riga(r.top()), larghezza * sizeof(QRgb));
    }
    cambiato_ |= r;
    disegnato_ = QRect();
}

void SuperficieQt::punto(float x, float y, Colore colore)
{
    int px = 0, py = 0;
    if (!pixelDelPunto(x, y, larghezza_, altezza_, px, py))
        return;
    if (colore != ultimoColore_) {
        ultimoColore_ = colore;
        ultimoRgb_ = rgb(colore);
    }
    imposta(px, py, ultimoRgb_);
    segna(px, py);
}

void SuperficieQt::serieDiPunti(std::span<const Punto> punti)
{
    if (immagine_.isNull())
        return;
    // As punto, with what it asks the image for asked once: a graph's points
    // come by the thousand.
    uchar *const bits = immagine_.bits(); // detaches the image once
    const qsizetype riga = immagine_.bytesPerLine();
    const int larghezza = immagine_.width(), altezza = immagine_.height();
    Colore ultimo = ultimoColore_;
    QRgb valore = ultimoRgb_;
    int xMin = larghezza, yMin = altezza, xMax = -1, yMax = -1;
    Intervallo sx, sy;
    bool fuori = true; // the point before lay off the surface
    // Both intervals as {x, y, -, -}, tested in one comparison and one branch
    // (the last two lanes always pass); empty at first.
    Vf4 da = {1, 1, 0, 0}, a = {0, 0, 1, 1};
    for (const Punto &p : punti) {
        // Most points land where the point before landed: off the surface,
        // or on the pixel it set, and in its colour.
        const Vi4 dentro = (Vf4 {p.x, p.y, 0, 0} >= da) & (Vf4 {p.x, p.y, 0, 0} < a);
        const bool stessoPosto = (dentro[0] & dentro[1]) != 0;
        if (stessoPosto && (fuori || p.colore == ultimo))
            continue;
        if (!stessoPosto) {
            if (!sx.contiene(p.x))
                sx.trova(p.x, larghezza);
            if (!sy.contiene(p.y))
                sy.trova(p.y, altezza);
            da = Vf4 {sx.da(), sy.da(), 0, 0};
            a = Vf4 {sx.a(), sy.a(), 1, 1};
            fuori = sx.pixel() < 0 || sy.pixel() < 0;
            if (fuori)
                continue;
        }
        if (p.colore != ultimo) {
            ultimo = p.colore;
            valore = rgb(ultimo);
        }
        const int px = sx.pixel(), py = sy.pixel();
        reinterpret_cast<QRgb *>(bits + static_cast<qsizetype>(py) * riga)[px] = valore;
        xMin = std::min(xMin, px);
        xMax = std::max(xMax, px);
        yMin = std::min(yMin, py);
        yMax = std::max(yMax, py);
    }
    ultimoColore_ = ultimo;
    ultimoRgb_ = valore;
    if (xMax >= 0)
        segna(QRect(QPoint(xMin, yMin), QPoint(xMax, yMax)));
}

void SuperficieQt::linea(float x1, float y1, float x2, float y2, Colore colore)
{
    double ax = pixelDaTwipsEsatto(x1), ay = pixelDaTwipsEsatto(y1);
    double bx = pixelDaTwipsEsatto(x2), by = pixelDaTwipsEsatto(y2);
    const int larghezza = immagine_.width(), altezza = immagine_.height();
    if (larghezza == 0 || altezza == 0 || !ritaglia(ax, ay, bx, by, larghezza - 0.5, altezza - 0.5))
        return;
    // Bresenham between the nearest pixels of the clipped ends, both included.
    auto dentro = [](double v, int n) {
        return std::clamp(static_cast<int>(pixelVicino(v)), 0, n - 1);
    };
    int x = dentro(ax, larghezza), y = dentro(ay, altezza);
    const int xFine = dentro(bx, larghezza), yFine = dentro(by, altezza);
    segna(QRect(QPoint(std::min(x, xFine), std::min(y, yFine)),
                QPoint(std::max(x, xFine), std::max(y, yFine))));
    const int dx = std::abs(xFine - x), dy = -std::abs(yFine - y);
    const int sx = x < xFine ? 1 : -1, sy = y < yFine ? 1 : -1;
    const QRgb valore = rgb(colore);
    int errore = dx + dy;
    for (;;) {
        imposta(x, y, valore);
        if (x == xFine && y == yFine)
            break;
        const int doppio = 2 * errore;
        if (doppio >= dy) {
            errore += dy;
            x += sx;
        }
        if (doppio <= dx) {
            errore += dx;
            y += sy;
        }
    }
}

} // namespace zelvo
