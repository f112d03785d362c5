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

    // Where `twips` lands on an axis of n pixels of `quarti` quarter twips,
    // as pixelDiCoordinata finds it, and the bounds of that pixel (or of that
    // side off the axis).
    void trova(float twips, int n, int quarti)
    {
        constexpr double infinito = std::numeric_limits<double>::infinity();
        const double passo = 2.0 * quarti; // eighths of a twip per pixel
        const double c = pixelVicino(pixelDaTwipsEsatto(twips, quarti));
        double da = 1, a = 0; // empty: a coordinate that is not a number lands nowhere
        pixel_ = -1;
        if (c < 0) {
            da = -infinito;
            a = 0;
        } else if (c >= n) {
            da = passo * n;
            a = infinito;
        } else if (c >= 0) {
            pixel_ = static_cast<int>(c);
            da = passo * pixel_;
            a = da + passo;
        }
        da_ = primoFloat(da, quarti);
        a_ = primoFloat(a, quarti);
    }

private:
    // The least float at or above a bound given in eighths of a twip (whole
    // numbers, so the twips are exact in double): for any float x, x lies at
    // or above the bound exactly when it lies at or above this float.
    static float primoFloat(double ottavi, int quarti)
    {
        const double twips = (ottavi - quarti) / 8;
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

// ---- TelaQt: one image, drawn at its own pixels ----

TelaQt::TelaQt(QSize pixel, int q, QRgb sfondo)
    : immagine(pixel.expandedTo({0, 0}), QImage::Format_RGB32)
    , quarti(q)
{
    immagine.fill(sfondo);
}

void TelaQt::ridimensiona(QSize pixel, QRgb sfondo)
{
    pixel = pixel.expandedTo({0, 0});
    if (pixel == immagine.size())
        return;
    QImage nuova(pixel, QImage::Format_RGB32);
    nuova.fill(sfondo);
    nuova.setDevicePixelRatio(immagine.devicePixelRatio());
    QPainter pittore(&nuova);
    pittore.drawImage(QPointF(0, 0), immagine);
    pittore.end();
    immagine = std::move(nuova);
    cambiato &= immagine.rect();
    disegnato &= immagine.rect();
}

void TelaQt::cancella(QRgb sfondo)
{
    // Only what was drawn since the last Cls can differ from the background.
    const QRect r = disegnato & immagine.rect();
    if (!r.isEmpty()) {
        // One row filled, then copied: plain stores, which leave the rows in
        // the cache for the frame that is drawn next.
        const auto riga = [this, &r](int y) {
            return reinterpret_cast<QRgb *>(immagine.scanLine(y)) + r.left();
        };
        const auto larghezza = static_cast<std::size_t>(r.width());
        std::fill_n(riga(r.top()), larghezza, sfondo);
        for (int y = r.top() + 1; y <= r.bottom(); ++y)
            std::memcpy(riga(y), riga(r.top()), larghezza * sizeof(QRgb));
    }
    cambiato |= r;
    disegnato = QRect();
}

void TelaQt::punto(float x, float y, QRgb rgb)
{
    int px = 0, py = 0;
    if (!pixelDiCoordinata(x, immagine.width(), quarti, px)
        || !pixelDiCoordinata(y, immagine.height(), quarti, py))
        return;
    imposta(px, py, rgb);
    segna(px, py);
}

template<class Converti>
void TelaQt::serie(std::span<const Punto> punti, Colore &ultimoColore, QRgb &ultimoRgb,
                   Converti rgb)
{
    if (immagine.isNull())
        return;
    // As punto, with what it asks the image for asked once: a graph's points
    // come by the thousand.
    uchar *const bits = immagine.bits(); // detaches the image once
    const qsizetype riga = immagine.bytesPerLine();
    const int larghezza = immagine.width(), altezza = immagine.height();
    Colore ultimo = ultimoColore;
    QRgb valore = ultimoRgb;
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
                sx.trova(p.x, larghezza, quarti);
            if (!sy.contiene(p.y))
                sy.trova(p.y, altezza, quarti);
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
    ultimoColore = ultimo;
    ultimoRgb = valore;
    if (xMax >= 0)
        segna(QRect(QPoint(xMin, yMin), QPoint(xMax, yMax)));
}

void TelaQt::linea(float x1, float y1, float x2, float y2, QRgb valore)
{
    double ax = pixelDaTwipsEsatto(x1, quarti), ay = pixelDaTwipsEsatto(y1, quarti);
    double bx = pixelDaTwipsEsatto(x2, quarti), by = pixelDaTwipsEsatto(y2, quarti);
    const int larghezza = immagine.width(), altezza = immagine.height();
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

// ---- SuperficieQt ----

namespace {

// The device pixels that cover `logico` logical pixels at `quarti` quarter
// twips each.
QSize pixelDensi(QSize logico, int quarti)
{
    const auto lato = [quarti](int n) {
        return static_cast<int>(std::ceil(static_cast<double>(n) * quartiLogici / quarti));
    };
    return {lato(logico.width()), lato(logico.height())};
}

} // namespace

SuperficieQt::SuperficieQt(QSize pixel, const QPalette &palette, double scala)
    : palette_(palette)
    , logica_(pixel, quartiLogici, rgb(coloreFacciaPulsante))
{
    impostaScala(scala);
}

SuperficieQt::~SuperficieQt() = default;
SuperficieQt::SuperficieQt(SuperficieQt &&) noexcept = default;
SuperficieQt &SuperficieQt::operator=(SuperficieQt &&) noexcept = default;

double SuperficieQt::scala() const
{
    return densa_ ? static_cast<double>(quartiLogici) / densa_->quarti : 1.0;
}

void SuperficieQt::impostaScala(double scala)
{
    const int quarti = quartiPerPixel(scala);
    if (quarti == (densa_ ? densa_->quarti : quartiLogici))
        return;
    if (quarti == quartiLogici) {
        densa_.reset();
        logica_.cambiato = logica_.immagine.rect();
        return;
    }
    densa_ = std::make_unique<TelaQt>(pixelDensi(dimensione(), quarti), quarti,
                                      rgb(coloreFacciaPulsante));
    densa_->immagine.setDevicePixelRatio(static_cast<double>(quartiLogici) / quarti);
    ridisegnaDensa();
    logica_.cambiato = logica_.immagine.rect();
}

// What was drawn since the last Cls, again, on the dense image just made.
void SuperficieQt::ridisegnaDensa()
{
    Colore ultimo = coloreNero;
    QRgb valore = qRgb(0, 0, 0);
    const auto converti = [this](Colore c) {
        return rgb(c);
    };
    for (const Comando &c : comandi_) {
        switch (c.tipo) {
        case Comando::Tipo::Punto:
            densa_->punto(c.x1, c.y1, rgb(c.colore));
            break;
        case Comando::Tipo::Serie:
            densa_->serie(std::span<const Punto>(punti_).subspan(c.inizio, c.quanti), ultimo,
                          valore, converti);
            break;
        case Comando::Tipo::Linea:
            densa_->linea(c.x1, c.y1, c.x2, c.y2, rgb(c.colore));
            break;
        }
    }
    densa_->cambiato = QRect();
}

void SuperficieQt::ridimensiona(QSize pixel)
{
    pixel = pixel.expandedTo({0, 0});
    if (pixel == dimensione())
        return;
    logica_.ridimensiona(pixel, rgb(coloreFacciaPulsante));
    if (densa_)
        densa_->ridimensiona(pixelDensi(pixel, densa_->quarti), rgb(coloreFacciaPulsante));
}

void SuperficieQt::impostaPalette(const QPalette &palette)
{
    palette_ = palette;
    for (TelaQt *tela : {&logica_, densa_.get()})
        if (tela)
            tela->disegnato = tela->immagine.rect();
    ultimoColore_ = coloreNero;
    ultimoRgb_ = qRgb(0, 0, 0);
}

QRgb SuperficieQt::rgb(Colore colore) const
{
    if (eColoreDiSistema(colore))
        return palette_.color(QPalette::Active, ruoloDiSistema(colore)).rgb();
    return qRgb(static_cast<int>(colore & 0xFFu), static_cast<int>((colore >> 8) & 0xFFu),
                static_cast<int>((colore >> 16) & 0xFFu));
}

QRect SuperficieQt::ritiraCambiato()
{
    QRect r = std::exchange(logica_.cambiato, QRect());
    if (densa_) {
        // The logical pixels over the changed device pixels: at a ratio that
        // is not whole, a device pixel may straddle two logical ones.
        const QRect d = std::exchange(densa_->cambiato, QRect());
        if (!d.isEmpty()) {
            const double s = scala();
            r |= QRect(QPoint(static_cast<int>(std::floor(d.left() / s)),
                              static_cast<int>(std::floor(d.top() / s))),
                       QPoint(static_cast<int>(std::ceil((d.right() + 1) / s)) - 1,
                              static_cast<int>(std::ceil((d.bottom() + 1) / s)) - 1))
                    & logica_.immagine.rect();
        }
    }
    return r;
}

void SuperficieQt::cancella()
{
    const QRgb sfondo = rgb(coloreFacciaPulsante);
    logica_.cancella(sfondo);
    if (densa_)
        densa_->cancella(sfondo);
    comandi_.clear();
    punti_.clear();
}

void SuperficieQt::punto(float x, float y, Colore colore)
{
    if (colore != ultimoColore_) {
        ultimoColore_ = colore;
        ultimoRgb_ = rgb(colore);
    }
    logica_.punto(x, y, ultimoRgb_);
    if (densa_)
        densa_->punto(x, y, ultimoRgb_);
    comandi_.push_back({Comando::Tipo::Punto, x, y, 0, 0, colore, 0, 0});
}

void SuperficieQt::serieDiPunti(std::span<const Punto> punti)
{
    const auto converti = [this](Colore c) {
        return rgb(c);
    };
    if (densa_) {
        Colore ultimo = ultimoColore_;
        QRgb valore = ultimoRgb_;
        densa_->serie(punti, ultimo, valore, converti);
    }
    logica_.serie(punti, ultimoColore_, ultimoRgb_, converti);
    comandi_.push_back({Comando::Tipo::Serie, 0, 0, 0, 0, 0, punti_.size(), punti.size()});
    punti_.insert(punti_.end(), punti.begin(), punti.end());
}

void SuperficieQt::linea(float x1, float y1, float x2, float y2, Colore colore)
{
    const QRgb valore = rgb(colore);
    logica_.linea(x1, y1, x2, y2, valore);
    if (densa_)
        densa_->linea(x1, y1, x2, y2, valore);
    comandi_.push_back({Comando::Tipo::Linea, x1, y1, x2, y2, colore, 0, 0});
}

} // namespace zelvo
