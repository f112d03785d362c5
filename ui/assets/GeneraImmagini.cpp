// Draws the two pictures of the title window and writes them as 24-bit
// uncompressed BMP files: Image1.bmp, an example plot traced by Zelvo's own
// calcolo on its dotted frame, and Image2.bmp, what Zelvo does in four short
// paragraphs. It also draws the program's icon for the desktop, as an SVG and
// as PNG files of 48, 128 and 256 pixels, in icona/. The pictures are
// committed; run this only to make them again:
//
//     zelvo_genera_immagini ui/assets
//
// It needs no display (it asks Qt for the offscreen platform when none is set).

#include "engine/Ascisse.h"
#include "engine/Funzione.h"
#include "plot/Calcolo.h"
#include "plot/Griglia.h"
#include "plot/StatoCalcolo.h"
#include "plot/Superficie.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

using namespace zelvo;

// The pictures' background: the light grey of Qt's default button face, so
// that they blend with the title window they sit on.
const QColor grigioChiaro(239, 239, 239);
const QColor blu(0, 0, 255);

QColor coloreQt(Colore c)
{
    if (c == coloreFacciaPulsante)
        return grigioChiaro;
    if (eColoreDiSistema(c))
        return Qt::black; // the button-text colour
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// The plot's surface drawn into a picture, reduced: the frame's 6440 × 4480
// twips have to fit a picture 294 pixels high with a line of text under them.
class SuperficieImmagine : public Superficie
{
public:
    SuperficieImmagine(QImage &immagine, double twipsPerPixel, QPoint origine)
        : immagine_(immagine)
        , twipsPerPixel_(twipsPerPixel)
        , origine_(origine)
    { }

    QPoint pixel(double x, double y) const
    {
        return origine_
                + QPoint(static_cast<int>(std::lround(x / twipsPerPixel_)),
                         static_cast<int>(std::lround(y / twipsPerPixel_)));
    }

protected:
    void cancella() override { immagine_.fill(grigioChiaro); }

    void punto(float x, float y, Colore colore) override
    {
        const QPoint p = pixel(x, y);
        if (immagine_.rect().contains(p))
            immagine_.setPixelColor(p, coloreQt(colore));
    }

    void linea(float x1, float y1, float x2, float y2, Colore colore) override
    {
        QPainter pittore(&immagine_);
        pittore.setPen(QPen(coloreQt(colore), 0));
        pittore.drawLine(pixel(x1, y1), pixel(x2, y2));
    }

private:
    QImage &immagine_;
    double twipsPerPixel_;
    QPoint origine_;
};

QFont carattere(int pixel, bool grassetto)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixel);
    font.setBold(grassetto);
    return font;
}

// A number as the Italian user reads it, to two decimals.
QString numero(double v)
{
    return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The example: a two-humped quartic, from -7.5 to 8 with step 0.01.
const TestiCalcolo esempio {"(x^2-x^4/50)/2+x/4-3", "-7,5", "8", "st0.01", "", ""};

QImage disegnaImage1()
{
    QImage immagine(566, 294, QImage::Format_RGB32);
    SuperficieImmagine superficie(immagine, 18, QPoint(0, 8));
    StatoCalcolo stato;
    Funzione funzione(',');
    const EsitoCalcolo esito = calcolo(esempio, ',', funzione, stato, superficie);
    if (!esito.stato.empty()) {
        std::fprintf(stderr, "calcolo: %s\n", esito.stato.c_str());
        return {};
    }

    // The highest sample and the sign changes, from the values the run stored.
    double xMax = 0, yMax = -HUGE_VAL, precedente = 0;
    QStringList radici;
    const Ascisse ascisse(stato.estremoA, stato.estremoB, stato.passo);
    for (std::uint64_t n = 1; n <= ascisse.quante(); ++n) {
        const double x = ascisse[n - 1];
        const double y = stato.valoriY.at(static_cast<std::size_t>(n));
        if (y > yMax) {
            xMax = x;
            yMax = y;
        }
        if (n > 1 && (y < 0) != (precedente < 0))
            radici << numero(x);
        precedente = y;
    }

    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::TextAntialiasing);
    const QPoint cima = superficie.pixel(twipsX(xMax, stato.scalaX), twipsY(yMax, stato.scalaY));
    pittore.setFont(carattere(12, true));
    pittore.setPen(Qt::red);
    pittore.drawText(cima + QPoint(-14, -8), QStringLiteral("Max"));

    int riga = 22;
    const auto scrivi = [&](const QString &testo, const QColor &colore) {
        pittore.setPen(colore);
        pittore.drawText(398, riga, testo);
        riga += 17;
    };
    pittore.setFont(carattere(11, true));
    scrivi(QStringLiteral("Esempio:"), Qt::black);
    scrivi(QStringLiteral("Y = (x^2 - x^4/50)/2"), Qt::black);
    scrivi(QStringLiteral("       + x/4 - 3"), Qt::black);
    riga += 6;
    scrivi(QStringLiteral("a = -7,5      b = 8"), Qt::black);
    scrivi(QStringLiteral("St = 0,01"), Qt::black);
    riga += 6;
    scrivi(QStringLiteral("Max:  X = %1").arg(numero(xMax)), Qt::red);
    scrivi(QStringLiteral("         Y = %1").arg(numero(yMax)), Qt::red);
    riga += 6;
    scrivi(QStringLiteral("Radici reali:"), Qt::red);
    for (const QString &r : radici)
        scrivi(QStringLiteral("  X = %1").arg(r), Qt::red);

    pittore.setFont(carattere(11, true));
    pittore.setPen(Qt::black);
    pittore.drawText(28, 280,
                     QStringLiteral("Scala ascisse: 1/div.  (una divisione = 1 unità di X)"));
    return immagine;
}

QImage disegnaImage2()
{
    QImage immagine(357, 330, QImage::Format_RGB32);
    immagine.fill(grigioChiaro);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::TextAntialiasing);
    pittore.setFont(carattere(16, true));
    pittore.setPen(blu);
    // Formulas keep together on one line (non-breaking spaces).
    const QString paragrafi[] = {
            QStringLiteral("- Traccia il grafico della funzione y\u00A0=\u00A0f(x) assegnata."),
            QStringLiteral("- Trova le coordinate dei punti notevoli: il massimo e il minimo."),
            QStringLiteral("- Trova le radici reali dell'equazione f(x)\u00A0=\u00A00."),
            QStringLiteral(
                    "- Calcola l'integrale definito di f(x) nell'intervallo a\u00A0-\u00A0b."),
    };
    // The paragraphs spread evenly over the picture's height.
    const QRect spazio = immagine.rect().adjusted(14, 0, -14, 0);
    const int flag = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
    int altezze = 0;
    for (const QString &p : paragrafi)
        altezze += pittore.boundingRect(spazio, flag, p).height();
    const int intervallo
            = (immagine.height() - altezze) / static_cast<int>(std::size(paragrafi) + 1);
    int y = intervallo;
    for (const QString &p : paragrafi) {
        QRect occupato;
        pittore.drawText(spazio.adjusted(0, y, 0, 0), flag, p, &occupato);
        y = occupato.bottom() + 1 + intervallo;
    }
    return immagine;
}

void aggiungi16(QByteArray &b, quint16 v)
{
    v = qToLittleEndian(v);
    b.append(reinterpret_cast<const char *>(&v), sizeof v);
}

void aggiungi32(QByteArray &b, quint32 v)
{
    v = qToLittleEndian(v);
    b.append(reinterpret_cast<const char *>(&v), sizeof v);
}

// An uncompressed 24-bit BMP: the 14-byte file header, the 40-byte
// BITMAPINFOHEADER, then the rows bottom-up in blue, green, red order, each
// padded to a multiple of 4 bytes. Written by hand so that the size is exact.
QByteArray bmp24(const QImage &immagine)
{
    const auto w = static_cast<quint32>(immagine.width());
    const auto h = static_cast<quint32>(immagine.height());
    const quint32 riga = (w * 3 + 3) / 4 * 4;
    const quint32 dati = riga * h;
    QByteArray b;
    b.reserve(static_cast<qsizetype>(54 + dati));
    b.append("BM", 2);
    aggiungi32(b, 54 + dati);
    aggiungi32(b, 0); // reserved
    aggiungi32(b, 54); // offset of the pixels
    aggiungi32(b, 40);
    aggiungi32(b, w);
    aggiungi32(b, h); // positive: bottom-up
    aggiungi16(b, 1); // planes
    aggiungi16(b, 24);
    aggiungi32(b, 0); // BI_RGB
    aggiungi32(b, dati);
    aggiungi32(b, 3780); // 96 pixels per inch, in pixels per metre
    aggiungi32(b, 3780);
    aggiungi32(b, 0); // no palette
    aggiungi32(b, 0);
    for (int y = immagine.height() - 1; y >= 0; --y) {
        for (int x = 0; x < immagine.width(); ++x) {
            const QRgb c = immagine.pixel(x, y);
            b.append(static_cast<char>(qBlue(c)));
            b.append(static_cast<char>(qGreen(c)));
            b.append(static_cast<char>(qRed(c)));
        }
        b.append(static_cast<qsizetype>(riga - w * 3), '\0');
    }
    return b;
}

bool scrivi(const QString &percorso, const QImage &immagine)
{
    if (immagine.isNull())
        return false;
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(bmp24(immagine)) < 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(percorso), qPrintable(file.errorString()));
        return false;
    }
    return true;
}


// The icon: the example's curve between its two magenta markers, on a dotted
// grid with its axes, in a light rounded square. Drawn on a 256-unit square,
// once as SVG and once as pixels, from the same shapes.
namespace icona {

constexpr double lato = 256;
constexpr double margine = 16; // around the rounded square
constexpr double raggio = 40;
constexpr double bordo = 4;
constexpr double campo = 40; // where the grid starts, from each edge
constexpr double passoGriglia = 44; // between grid lines: 5 lines
constexpr double passoPunti = 8; // between the dots of a grid line
constexpr double asseX = 40 + 2 * 44, asseY = 40 + 3 * 44; // vertical, horizontal axis
constexpr double tratto = 14; // the curve's width

const QColor sfondo(246, 246, 240), contorno(150, 150, 150), grigioPunti(120, 120, 120),
        assi(40, 40, 40), rosso(220, 0, 0), magenta(255, 0, 255);

// The example's quartic from a to b, mapped onto the grid: a and b on its
// left and right lines, the curve's lowest and highest values a little
// inside its bottom and top.
std::vector<QPointF> curva()
{
    const double a = -7.5, b = 8;
    Funzione f('.');
    f.DefinisciFunzione(esempio.funzione);
    std::vector<double> y;
    for (int i = 0; i <= 200; ++i)
        y.push_back(f.CalcolaFunzione(a + (b - a) * i / 200));
    const auto [minimo, massimo] = std::minmax_element(y.begin(), y.end());
    const double basso = lato - campo - 10, alto = campo + 10;
    std::vector<QPointF> punti;
    for (std::size_t i = 0; i < y.size(); ++i)
        punti.emplace_back(campo + (lato - 2 * campo) * static_cast<double>(i) / 200,
                           basso + (y[i] - *minimo) / (*massimo - *minimo) * (alto - basso));
    return punti;
}

QString rgb(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

QString svg()
{
    QString s;
    const auto n = [](double v) { return QString::number(v, 'f', 1); };
    s += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                        "viewBox=\"0 0 256 256\">\n");
    s += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" "
                        "fill=\"%4\" stroke=\"%5\" stroke-width=\"%6\"/>\n")
                 .arg(n(margine), n(lato - 2 * margine), n(raggio), rgb(sfondo), rgb(contorno),
                      n(bordo));
    s += QStringLiteral("  <g stroke=\"%1\" stroke-width=\"3\" stroke-linecap=\"round\" "
                        "stroke-dasharray=\"0 %2\">\n")
                 .arg(rgb(grigioPunti), n(passoPunti));
    for (double g = campo; g <= lato - campo; g += passoGriglia)
        s += QStringLiteral("    <line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\"/>\n"
                            "    <line x1=\"%2\" y1=\"%1\" x2=\"%3\" y2=\"%1\"/>\n")
                     .arg(n(g), n(campo), n(lato - campo));
    s += QStringLiteral("  </g>\n");
    s += QStringLiteral("  <g stroke=\"%1\" stroke-width=\"4\">\n"
                        "    <line x1=\"%2\" y1=\"%4\" x2=\"%2\" y2=\"%5\"/>\n"
                        "    <line x1=\"%4\" y1=\"%3\" x2=\"%5\" y2=\"%3\"/>\n  </g>\n")
                 .arg(rgb(assi), n(asseX), n(asseY), n(campo), n(lato - campo));
    s += QStringLiteral("  <g stroke=\"%1\" stroke-width=\"5\">\n"
                        "    <line x1=\"%2\" y1=\"%4\" x2=\"%2\" y2=\"%5\"/>\n"
                        "    <line x1=\"%3\" y1=\"%4\" x2=\"%3\" y2=\"%5\"/>\n  </g>\n")
                 .arg(rgb(magenta), n(campo), n(lato - campo), n(campo - 8), n(lato - campo + 8));
    s += QStringLiteral("  <polyline fill=\"none\" stroke=\"%1\" stroke-width=\"%2\" "
                        "stroke-linecap=\"round\" stroke-linejoin=\"round\" points=\"")
                 .arg(rgb(rosso), n(tratto));
    for (const QPointF &p : curva())
        s += n(p.x()) + ',' + n(p.y()) + ' ';
    s.chop(1);
    s += QStringLiteral("\"/>\n</svg>\n");
    return s;
}

QImage png(int pixel)
{
    QImage immagine(pixel, pixel, QImage::Format_ARGB32);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    pittore.scale(pixel / lato, pixel / lato);
    pittore.setPen(QPen(contorno, bordo));
    pittore.setBrush(sfondo);
    pittore.drawRoundedRect(QRectF(margine, margine, lato - 2 * margine, lato - 2 * margine),
                            raggio, raggio);
    QPen penPunti(grigioPunti, 3, Qt::CustomDashLine, Qt::RoundCap);
    // In units of the pen's width; a dash of length 0 would draw nothing here.
    penPunti.setDashPattern({0.01, passoPunti / 3 - 0.01});
    pittore.setPen(penPunti);
    for (double g = campo; g <= lato - campo; g += passoGriglia) {
        pittore.drawLine(QPointF(g, campo), QPointF(g, lato - campo));
        pittore.drawLine(QPointF(campo, g), QPointF(lato - campo, g));
    }
    pittore.setPen(QPen(assi, 4));
    pittore.drawLine(QPointF(asseX, campo), QPointF(asseX, lato - campo));
    pittore.drawLine(QPointF(campo, asseY), QPointF(lato - campo, asseY));
    pittore.setPen(QPen(magenta, 5));
    for (const double x : {campo, lato - campo})
        pittore.drawLine(QPointF(x, campo - 8), QPointF(x, lato - campo + 8));
    pittore.setPen(QPen(rosso, tratto, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const std::vector<QPointF> c = curva();
    pittore.drawPolyline(c.data(), static_cast<int>(c.size()));
    return immagine;
}

} // namespace icona

bool scriviIcona(const QDir &cartella)
{
    if (!cartella.mkpath(QStringLiteral("icona")))
        return false;
    QFile file(cartella.filePath(QStringLiteral("icona/zelvo.svg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(icona::svg().toUtf8()) < 0)
        return false;
    for (const int pixel : {48, 128, 256})
        if (!icona::png(pixel).save(
                    cartella.filePath(QStringLiteral("icona/zelvo-%1.png").arg(pixel))))
            return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir cartella(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const bool ok = scrivi(cartella.filePath(QStringLiteral("Image1.bmp")), disegnaImage1())
            && scrivi(cartella.filePath(QStringLiteral("Image2.bmp")), disegnaImage2())
            && scriviIcona(cartella);
    return ok ? 0 : 1;
}
