#include "ui/FoglioStudio.h"

#include "engine/Funzione.h"
#include "plot/StatoCalcolo.h"
#include "ui/ImmagineGrafico.h"
#include "ui/SegniStudio.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace zelvo {

namespace {

// Everything is laid out in points (1/72 inch) from the top left corner of
// the page's printable area; the painter maps points to the device's dots.
// Fonts are given in pixels, which the mapping makes points, unhinted, so
// that a PDF, a printer and a picture lay out alike.
constexpr double kMarginiMm = 20;
constexpr double kPiede = 18; // the band at the foot of each page for its number
constexpr double kRiga = 0.5; // the width of the tables' lines
constexpr double kCella = 4; // the space between a cell's text and its lines
const QColor kGrigioLinee(150, 150, 150);
const QColor kGrigioTestata(232, 232, 232);

QFont carattere(int punti, bool grassetto = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(punti);
    f.setBold(grassetto);
    f.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: a PDF reader would find "ﬁ" where "fi" was written, and
    // a search for "Grafico" or "infinito" would fail.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// A text's width with a margin: a reader draws the embedded font a hair
// wider than Qt measures it, and a cell's text must not touch its lines.
double largo(const QFontMetricsF &metrica, const QString &t)
{
    return std::ceil(metrica.horizontalAdvance(t) * 1.03);
}

QString testo(const std::string &t)
{
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

// A cell's text wraps between words, and inside a word only where the word
// alone is wider than the column.
QTextOption opzioneCella(bool aCapo)
{
    QTextOption opzione(Qt::AlignLeft | Qt::AlignTop);
    opzione.setWrapMode(aCapo ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    return opzione;
}

// How many lines a cell's text takes in `larghezza`.
int righeCella(const QString &t, const QFont &font, double larghezza, QPaintDevice *dispositivo)
{
    QTextLayout layout(t, font, dispositivo);
    layout.setTextOption(opzioneCella(true));
    layout.beginLayout();
    int righe = 0;
    for (QTextLine riga = layout.createLine(); riga.isValid(); riga = layout.createLine()) {
        riga.setLineWidth(larghezza);
        ++righe;
    }
    layout.endLayout();
    return std::max(righe, 1);
}

// The width of a text's widest word.
double parolaPiuLarga(const QFontMetricsF &metrica, const QString &t)
{
    double l = 0;
    for (const QStringView parola : QStringView(t).split(u' ', Qt::SkipEmptyParts))
        l = std::max(l, largo(metrica, parola.toString()));
    return l;
}

// The pages of the sheet, filled from the top down. It runs twice: once
// without drawing, to count the pages, then drawing, with the count known
// for "Pagina N di M".
class Impaginazione
{
public:
    // `pagine` 0: only count. `nuovaPagina` moves the device to a new page;
    // false stops the drawing (a picture holds only the first page).
    Impaginazione(QPainter &p, QSizeF area, int pagine, std::function<bool()> nuovaPagina)
        : p_(p)
        , larghezza_(area.width())
        , altezza_(area.height() - kPiede)
        , piedePagina_(area.height())
        , pagine_(pagine)
        , disegna_(pagine > 0)
        , nuovaPagina_(std::move(nuovaPagina))
    { }

    int pagina() const { return pagina_; }

    // A line at the top of every page after the first, cut short to fit.
    void testataPagine(QString t) { testata_ = std::move(t); }

    void spazio(double punti) { y_ = std::min(y_ + punti, altezza_); }

    // Room for `punti` more on this page, or a new page.
    void serve(double punti)
    {
        if (y_ > 0 && y_ + punti > altezza_)
            aCapo();
    }

    void aCapo()
    {
        piede();
        if (disegna_ && !nuovaPagina_())
            disegna_ = false;
        ++pagina_;
        y_ = 0;
        if (testata_.isEmpty())
            return;
        const QFont font = carattere(8);
        const QFontMetricsF metrica(font, p_.device());
        if (disegna_) {
            p_.setFont(font);
            p_.setPen(QColor(90, 90, 90));
            p_.drawText(QPointF(0, metrica.ascent()),
                        metrica.elidedText(testata_, Qt::ElideRight, larghezza_));
            p_.setPen(QPen(kGrigioLinee, kRiga));
            p_.drawLine(QLineF(0, metrica.height() + 2, larghezza_, metrica.height() + 2));
        }
        y_ = metrica.height() + 12;
    }

    void fine() { piede(); }

    // A paragraph as wide as the page, wrapped between words or, in a word
    // wider than the page (a long expression), anywhere; a page breaks
    // between its lines.
    void paragrafo(const QString &t, const QFont &font, double dopo = 0)
    {
        QTextLayout layout(t, font, p_.device());
        QTextOption opzione;
        opzione.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(opzione);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        double alto = 0;
        for (QTextLine riga = layout.createLine(); riga.isValid(); riga = layout.createLine()) {
            riga.setLineWidth(larghezza_);
            riga.setPosition(QPointF(0, alto));
            alto += riga.height();
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine riga = layout.lineAt(i);
            serve(riga.height());
            if (disegna_) {
                p_.setPen(Qt::black);
                riga.draw(&p_, QPointF(0, y_ - riga.y()));
            }
            y_ += riga.height();
        }
        spazio(dopo);
    }

    // A section's title, kept on the page of what follows it (`seguito`).
    void titolo(const QString &t, double seguito)
    {
        const QFont font = carattere(12, true);
        const double alto = QFontMetricsF(font, p_.device()).height();
        spazio(10);
        serve(alto + 4 + seguito);
        if (disegna_) {
            p_.setFont(font);
            p_.setPen(Qt::black);
            p_.drawText(QRectF(0, y_, larghezza_, alto), Qt::AlignLeft | Qt::AlignVCenter, t);
        }
        y_ += alto + 4;
    }

    // A picture as wide as the page (as high as a page at most), its
    // proportions kept.
    void immagine(const QImage &immagine)
    {
        if (immagine.isNull())
            return;
        double l = larghezza_;
        double h = l * immagine.height() / immagine.width();
        if (h > altezza_) {
            l *= altezza_ / h;
            h = altezza_;
        }
        serve(h);
        if (disegna_) {
            p_.setRenderHint(QPainter::SmoothPixmapTransform);
            p_.drawImage(QRectF((larghezza_ - l) / 2, y_, l, h), immagine);
        }
        y_ += h;
    }

    void tabella(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe);
    void schema(const SchemaStudio &schema);

private:
    // One row of a table: each cell's text in its column, at the top of a
    // row `alto` high; a grey ground for a header. `seguito`: the row's
    // first cell is empty, the row goes on the group of the row above.
    void rigaTabella(const std::vector<QString> &celle, const std::vector<double> &colonne,
                     double alto, const QFont &font, bool testata, bool seguito);
    void piede()
    {
        if (!disegna_)
            return;
        p_.setFont(carattere(8));
        p_.setPen(QColor(90, 90, 90));
        p_.drawText(QRectF(0, altezza_, larghezza_, piedePagina_ - altezza_),
                    Qt::AlignHCenter | Qt::AlignBottom,
                    QStringLiteral("Pagina %1 di %2").arg(pagina_).arg(pagine_));
    }

    QPainter &p_;
    double larghezza_, altezza_, piedePagina_;
    int pagine_;
    bool disegna_;
    std::function<bool()> nuovaPagina_;
    double y_ = 0;
    int pagina_ = 1;
    QString testata_;
};

void Impaginazione::rigaTabella(const std::vector<QString> &celle,
                                const std::vector<double> &colonne, double alto, const QFont &font,
                                bool testata, bool seguito)
{
    if (!disegna_)
        return;
    const double l = std::accumulate(colonne.begin(), colonne.end(), 0.0);
    if (testata)
        p_.fillRect(QRectF(0, y_, l, alto), kGrigioTestata);
    p_.setFont(font);
    p_.setPen(Qt::black);
    const QFontMetricsF metrica(font, p_.device());
    double x = 0;
    for (std::size_t k = 0; k < colonne.size(); ++k) {
        // Wrapped only in a column narrowed below the text's width.
        const double spazioTesto = colonne[k] - 2 * kCella;
        p_.drawText(QRectF(x + kCella, y_ + kCella / 2, spazioTesto, alto - kCella), celle[k],
                    opzioneCella(metrica.horizontalAdvance(celle[k]) > spazioTesto));
        x += colonne[k];
    }
    // The lines: above the row (not across the first column where the row
    // goes on the group above, as a merged cell), and between the columns.
    p_.setPen(QPen(kGrigioLinee, kRiga));
    p_.drawLine(QLineF(seguito ? colonne.front() : 0, y_, l, y_));
    x = 0;
    for (const double c : colonne) {
        p_.drawLine(QLineF(x, y_, x, y_ + alto));
        x += c;
    }
    p_.drawLine(QLineF(x, y_, x, y_ + alto));
}

// The features: each column as wide as its widest text; where the page is
// too narrow for all, each narrowed in proportion to what it has beyond its
// widest word, so that texts wrap between words.
void Impaginazione::tabella(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe)
{
    std::size_t n = intestazione.size();
    for (const RigaTesti &r : righe)
        n = std::max(n, r.size());
    if (n == 0)
        return;
    const QFont font = carattere(9), grassetto = carattere(9, true);
    const QFontMetricsF metrica(font, p_.device()), metricaTestata(grassetto, p_.device());
    const auto celle = [n](const RigaTesti &r) {
        std::vector<QString> c(n);
        for (std::size_t k = 0; k < r.size(); ++k)
            c[k] = testo(r[k]);
        return c;
    };
    const std::vector<QString> testata = celle(intestazione);
    std::vector<double> colonne(n, 2 * kCella + 12);
    for (std::size_t k = 0; k < n; ++k)
        colonne[k] = std::max(colonne[k], largo(metricaTestata, testata[k]) + 2 * kCella);
    for (const RigaTesti &r : righe)
        for (std::size_t k = 0; k < r.size(); ++k)
            colonne[k] = std::max(colonne[k], largo(metrica, testo(r[k])) + 2 * kCella);
    const double naturale = std::accumulate(colonne.begin(), colonne.end(), 0.0);
    if (naturale > larghezza_) {
        std::vector<double> minime(n, 2 * kCella + 12);
        for (std::size_t k = 0; k < n; ++k)
            minime[k]
                    = std::max(minime[k], parolaPiuLarga(metricaTestata, testata[k]) + 2 * kCella);
        for (const RigaTesti &r : righe)
            for (std::size_t k = 0; k < r.size(); ++k)
                minime[k] = std::max(minime[k], parolaPiuLarga(metrica, testo(r[k])) + 2 * kCella);
        const double minima = std::accumulate(minime.begin(), minime.end(), 0.0);
        for (std::size_t k = 0; k < n; ++k)
            colonne[k] = minima >= larghezza_
                    ? minime[k] * larghezza_ / minima // words too wide: broken anywhere
                    : minime[k]
                            + (colonne[k] - minime[k]) * (larghezza_ - minima)
                                    / (naturale - minima);
    }

    const auto altezza = [&](const std::vector<QString> &c, const QFont &f,
                             const QFontMetricsF &m) {
        int righeTesto = 1;
        for (std::size_t k = 0; k < n; ++k)
            if (m.horizontalAdvance(c[k]) > colonne[k] - 2 * kCella)
                righeTesto = std::max(righeTesto,
                                      righeCella(c[k], f, colonne[k] - 2 * kCella, p_.device()));
        return righeTesto * m.lineSpacing() + kCella;
    };
    const double altoTestata = altezza(testata, grassetto, metricaTestata);
    const auto mettiTestata = [&] {
        rigaTabella(testata, colonne, altoTestata, grassetto, true, false);
        y_ += altoTestata;
    };
    const auto chiudi = [&] {
        if (disegna_) {
            p_.setPen(QPen(kGrigioLinee, kRiga));
            p_.drawLine(QLineF(0, y_, std::accumulate(colonne.begin(), colonne.end(), 0.0), y_));
        }
    };
    serve(altoTestata + metrica.lineSpacing() + kCella);
    mettiTestata();
    bool primaDellaPagina = true;
    QString gruppo; // the last first cell written: a page that goes on a group names it again
    for (const RigaTesti &r : righe) {
        std::vector<QString> c = celle(r);
        double alto = altezza(c, font, metrica);
        if (y_ + alto > altezza_) {
            chiudi();
            aCapo();
            mettiTestata();
            primaDellaPagina = true;
        }
        if (!c.front().isEmpty())
            gruppo = c.front();
        else if (primaDellaPagina) {
            c.front() = gruppo;
            alto = altezza(c, font, metrica);
        }
        rigaTabella(c, colonne, alto, font, false, !primaDellaPagina && c.front().isEmpty());
        primaDellaPagina = false;
        y_ += alto;
    }
    chiudi();
}

// The chart as the school draws it: a row of breakpoints over the sign of
// f, its growth and its concavity. Wider than the page, it goes on in
// further bands below, each with the rows' names.
void Impaginazione::schema(const SchemaStudio &schema)
{
    const std::size_t colonne = schema.intestazione.size();
    if (colonne == 0)
        return;
    const QFont font = carattere(10), grassetto = carattere(10, true);
    const QFontMetricsF metrica(font, p_.device()), metricaNomi(grassetto, p_.device());
    double nomi = largo(metricaNomi, QStringLiteral("x"));
    for (const char *nome : kRigheSchema)
        nomi = std::max(nomi, largo(metricaNomi, QString::fromUtf8(nome)));
    nomi += 2 * kCella;
    std::vector<double> larghe(colonne);
    for (std::size_t k = 0; k < colonne; ++k) {
        // The breakpoints are written in bold: measured so.
        double l = largo(metricaNomi, testo(schema.intestazione[k]));
        for (const auto &riga : schema.righe)
            l = std::max(l, largo(metrica, testo(riga[k])));
        larghe[k] = std::max(l + 2 * kCella, 20.0);
    }
    const double alto = metrica.lineSpacing() + kCella + 2;
    const auto cella = [&](double x, double l, const QString &t, const QFont &f, Qt::Alignment a) {
        p_.setFont(f);
        QTextOption opzione(a | Qt::AlignVCenter);
        opzione.setWrapMode(QTextOption::NoWrap);
        p_.drawText(QRectF(x + kCella, y_, l - 2 * kCella, alto), t, opzione);
    };
    for (std::size_t inizio = 0; inizio < colonne;) {
        // As many columns as the page holds beside the names (one at least),
        // ending on a breakpoint, which the next band starts from again.
        std::size_t fine = inizio;
        for (double l = nomi; fine < colonne && (fine == inizio || l + larghe[fine] <= larghezza_);)
            l += larghe[fine++];
        std::size_t prossimo = fine;
        if (fine < colonne) {
            std::size_t k = fine - 1;
            while (k > inizio && schema.intestazione[k].empty())
                --k;
            if (k > inizio) { // else no breakpoint to end on: the band as it came
                fine = k + 1;
                prossimo = k;
            }
        }
        const double l = std::accumulate(larghe.begin() + static_cast<std::ptrdiff_t>(inizio),
                                         larghe.begin() + static_cast<std::ptrdiff_t>(fine), nomi);
        serve(4 * alto);
        if (disegna_) {
            p_.fillRect(QRectF(0, y_, l, alto), kGrigioTestata);
            p_.setPen(Qt::black);
            for (std::size_t r = 0; r <= kRigheSchema.size(); ++r) {
                const double y = y_;
                y_ += static_cast<double>(r) * alto;
                cella(0, nomi,
                      r == 0 ? QStringLiteral("x") : QString::fromUtf8(kRigheSchema[r - 1]),
                      grassetto, Qt::AlignLeft);
                double x = nomi;
                for (std::size_t k = inizio; k < fine; ++k) {
                    const std::string &t = r == 0 ? schema.intestazione[k] : schema.righe[r - 1][k];
                    cella(x, larghe[k], testo(t), r == 0 ? grassetto : font, Qt::AlignHCenter);
                    x += larghe[k];
                }
                y_ = y;
            }
            p_.setPen(QPen(kGrigioLinee, kRiga));
            for (std::size_t r = 0; r <= 4; ++r)
                p_.drawLine(QLineF(0, y_ + static_cast<double>(r) * alto, l,
                                   y_ + static_cast<double>(r) * alto));
            const auto verticale = [&](double x) {
                p_.drawLine(QLineF(x, y_, x, y_ + 4 * alto));
            };
            verticale(0);
            double x = nomi;
            verticale(x);
            for (std::size_t k = inizio; k < fine; ++k)
                verticale(x += larghe[k]);
        }
        y_ += 4 * alto;
        if (fine < colonne)
            spazio(8);
        inizio = prossimo;
    }
}

// The whole sheet, one pass.
void impagina(Impaginazione &pagine, const FoglioStudio &foglio)
{
    // The function's first 500 characters: more never fit on a line.
    pagine.testataPagine(QStringLiteral("Studio della funzione   Y = ")
                         + testo(foglio.funzione.substr(0, 500)));
    pagine.paragrafo(QStringLiteral("Studio della funzione"), carattere(18, true), 8);
    pagine.paragrafo(QStringLiteral("Y = ") + testo(foglio.funzione), carattere(11), 3);
    pagine.paragrafo(QStringLiteral("a = ") + testo(foglio.a) + QStringLiteral("    b = ")
                             + testo(foglio.b),
                     carattere(11), 6);
    if (!foglio.grafico.immagine.isNull()) {
        pagine.titolo(QStringLiteral("Grafico"), 100);
        pagine.immagine(foglio.grafico.immagine);
        pagine.spazio(3);
        pagine.paragrafo(testo(foglio.grafico.didascalia), carattere(9));
    }
    if (!foglio.righe.empty()) {
        pagine.titolo(QStringLiteral("Caratteristiche"), 30);
        pagine.tabella(foglio.intestazione, foglio.righe);
    }
    if (!foglio.schema.intestazione.empty()) {
        pagine.titolo(QStringLiteral("Schema dei segni"), 60);
        pagine.schema(foglio.schema);
    }
    if (!foglio.note.empty()) {
        pagine.titolo(QStringLiteral("Note"), 14);
        for (const std::string &nota : foglio.note)
            pagine.paragrafo(testo(nota), carattere(10), 3);
    }
    pagine.fine();
}

// The painter in points from the printable area's corner; the area's size.
QSizeF inPunti(QPainter &p, const QPagedPaintDevice &dispositivo)
{
    const QRectF area = dispositivo.pageLayout().paintRect(QPageLayout::Point);
    const double scala = dispositivo.logicalDpiX() / 72.0;
    p.scale(scala, scala);
    return area.size();
}

} // namespace

void impostaPaginaFoglio(QPagedPaintDevice &dispositivo)
{
    dispositivo.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(kMarginiMm, kMarginiMm, kMarginiMm, kMarginiMm),
                                          QPageLayout::Millimeter));
}

bool stampaFoglio(const FoglioStudio &foglio, QPagedPaintDevice &dispositivo)
{
    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    const QSizeF area = inPunti(p, dispositivo);
    Impaginazione conta(p, area, 0, {});
    impagina(conta, foglio);
    Impaginazione pagine(p, area, conta.pagina(), [&dispositivo] { return dispositivo.newPage(); });
    impagina(pagine, foglio);
    return p.end();
}

bool scriviPdfFoglio(const FoglioStudio &foglio, QIODevice &file)
{
    QPdfWriter pdf(&file);
    impostaPaginaFoglio(pdf);
    pdf.setTitle(QStringLiteral("Studio della funzione Y = ") + testo(foglio.funzione));
    pdf.setCreator(QStringLiteral("Zelvo"));
    return stampaFoglio(foglio, pdf);
}

QImage primaPaginaFoglio(const FoglioStudio &foglio, int dpi)
{
    const QPageLayout pagina(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(kMarginiMm, kMarginiMm, kMarginiMm, kMarginiMm),
                             QPageLayout::Millimeter);
    const QRect pixel = pagina.fullRectPixels(dpi);
    QImage immagine(pixel.size(), QImage::Format_RGB32);
    immagine.fill(Qt::white);
    const auto pixelPerMetro = static_cast<int>(std::lround(dpi / 0.0254));
    immagine.setDotsPerMeterX(pixelPerMetro);
    immagine.setDotsPerMeterY(pixelPerMetro);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area = pagina.paintRect(QPageLayout::Point);
    p.scale(dpi / 72.0, dpi / 72.0);
    p.translate(area.topLeft());
    Impaginazione conta(p, area.size(), 0, {});
    impagina(conta, foglio);
    Impaginazione pagine(p, area.size(), conta.pagina(), [] { return false; });
    impagina(pagine, foglio);
    return immagine;
}

GraficoFoglio graficoFoglio(const TestiCalcolo &testi, char separatoreDecimale,
                            const Studio &studio, const Scuola &scuola)
{
    QPalette bianca = QApplication::palette();
    for (const QPalette::ColorRole ruolo : {QPalette::Window, QPalette::Base, QPalette::Button})
        bianca.setColor(ruolo, Qt::white);
    SuperficieQt superficie = superficieGrafico(bianca, 2);
    Funzione funzione(separatoreDecimale);
    StatoCalcolo stato;
    const EsitoCalcolo esito = calcolo(testi, separatoreDecimale, funzione, stato, superficie);
    // The call that marks the study on the graph, as "Segna i punti sul grafico" does.
    segnaStudio(superficie, studio, scuola, stato.scalaX, stato.scalaY);
    GraficoFoglio grafico {immagineGraficoDensa(superficie), {}};
    if (esito.scalaX && esito.scalaY)
        grafico.didascalia = "Una divisione vale " + *esito.scalaX + " sull'asse x e "
                + *esito.scalaY + " sull'asse y";
    return grafico;
}

} // namespace zelvo
