// "Segna i punti sul grafico" as a user sees it: the study's asymptotes,
// holes and jumps drawn over the graph, read back pixel by pixel from the
// window at the default scales (10 units in half the frame on each axis).
#include "ui/SegniStudio.h"
#include "plot/Griglia.h"
#include "tests/ui/FinestraDiProva.h"
#include "ui/FormStudio.h"
#include "ui/Twips.h"

#include <QPalette>
#include <QTableView>

#include <vector>

#include <gtest/gtest.h>

namespace zelvo {
namespace {

constexpr QRgb verdeAcqua = qRgb(0, 128, 128); // asymptotes
constexpr QRgb marrone = qRgb(128, 64, 0); // holes and jumps

class SegniStudioTest : public FinestraDiProva
{
protected:
    // Types f on a..b, presses Ctrl+T and then "Segna i punti sul grafico".
    void segna(const QString &f, const QString &a, const QString &b)
    {
        digita("Text1", f);
        digita("Text2", a);
        digita("Text3", b);
        QTest::keyClick(c<QLineEdit>("Text1"), Qt::Key_T, Qt::ControlModifier);
        ASSERT_NE(form->formStudio(), nullptr);
        auto *pulsante = form->formStudio()->findChild<QPushButton *>("PulsanteSegna");
        ASSERT_NE(pulsante, nullptr);
        QTest::mouseClick(pulsante, Qt::LeftButton);
        immagine = schermo();
    }

    // The pixel of the point (x, y) of the graph, dx, dy pixels away.
    QRgb pixel(double x, double y, int dx = 0, int dy = 0) const
    {
        const auto p = [](double twips) {
            return static_cast<int>(pixelVicino(pixelDaTwipsEsatto(twips)));
        };
        return immagine.pixel(p(twipsX(x, 10)) + dx, p(twipsY(y, 10)) + dy);
    }

    // The colour the study window writes the first row naming `tipo` in:
    // the table is the marks' legend.
    QRgb coloreRiga(const QString &tipo) const
    {
        const auto *tabella = form->formStudio()->findChild<QTableView *>("TabellaStudio");
        const QAbstractItemModel *m = tabella->model();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, 1).data().toString().contains(tipo))
                return m->index(r, 1).data(Qt::ForegroundRole).value<QColor>().rgb();
        ADD_FAILURE() << "no row " << tipo.toStdString();
        return 0;
    }

    QRgb sfondo() const { return form->palette().color(QPalette::Window).rgb(); }

    QImage immagine;
};

// A hole is a hollow circle 4 pixels round its point, emptied of the graph
// that runs through it; x = 2 is no asymptote.
TEST_F(SegniStudioTest, AHoleIsAHollowCircle)
{
    segna("(x^2-4)/(x-2)", "-3", "3");
    EXPECT_EQ(pixel(2, 4), sfondo());
    EXPECT_EQ(pixel(2, 4, 1, 0), sfondo());
    for (const auto &[dx, dy] : {std::pair {4, 0}, {-4, 0}, {0, 4}, {0, -4}})
        EXPECT_EQ(pixel(2, 4, dx, dy), marrone) << dx << ", " << dy;
    EXPECT_NE(pixel(2, 8), verdeAcqua);
}

// A jump's end f takes at x is a filled dot, the other a hollow circle;
// where f takes neither (Sgn at 0) or has a hole with another value there,
// f(x) is a filled dot of its own. A dot on the frame's corner is cut to it.
TEST_F(SegniStudioTest, AJumpsEndsAndTheValueAtADiscontinuity)
{
    struct Punto
    {
        double x, y;
        bool pieno;
    };
    struct Caso
    {
        const char *f, *a, *b;
        std::vector<Punto> punti;
    };
    const Caso casi[] = {
            {"x-Int(x)", "-2", "2", {{1, 0, true}, {1, 1, false}}},
            {"Sgn(x)", "-2", "2", {{0, -1, false}, {0, 1, false}, {0, 0, true}}},
            {"Sgn(x^2)", "-2", "2", {{0, 1, false}, {0, 0, true}}},
            {"x*(x-10)/(x-10)", "9", "10.1", {{10, 10, false}}},
    };
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.f);
        segna(caso.f, n(caso.a), n(caso.b));
        for (const auto &[x, y, pieno] : caso.punti) {
            SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ")");
            EXPECT_EQ(pixel(x, y), pieno ? marrone : sfondo());
            if (pieno) {
                EXPECT_EQ(pixel(x, y, 2, -2), marrone);
            }
            for (const auto &[dx, dy] : {std::pair {-4, 0}, {0, 4}})
                EXPECT_EQ(pixel(x, y, dx, dy), marrone) << dx << ", " << dy;
        }
    }
    // The circle at the frame's top right corner: nothing of it right of the frame.
    EXPECT_EQ(pixel(10, 10, 1, 0), sfondo());
    EXPECT_EQ(pixel(10, 10, 4, 0), sfondo());
    EXPECT_EQ(coloreRiga("eliminabile"), marrone);
}

// Dashes of 6 pixels with gaps of 4, from the top of the frame down: not
// the grid's dots.
TEST_F(SegniStudioTest, AVerticalAsymptoteIsDashed)
{
    segna("1/(x-2)", "-3", "3");
    const int x = pixelDaTwips(3720 + 2 * 322);
    for (int y = 0; y <= 5; ++y)
        EXPECT_EQ(immagine.pixel(x, y), verdeAcqua) << y;
    for (int y = 7; y <= 9; ++y)
        EXPECT_NE(immagine.pixel(x, y), verdeAcqua) << y;
    for (int y = 10; y <= 15; ++y)
        EXPECT_EQ(immagine.pixel(x, y), verdeAcqua) << y;
}

// y = 2 on both sides, drawn across the whole frame from its left edge,
// even where [a, b] leaves no graph.
TEST_F(SegniStudioTest, AHorizontalAsymptoteIsDashedAcrossTheFrame)
{
    segna("(2*x^2+1)/(x^2-4)", "-3", "3");
    const int y = pixelDaTwips(2240 - 2 * 224), sinistra = pixelDaTwips(corniceSinistra);
    for (int x = sinistra; x <= sinistra + 5; ++x)
        EXPECT_EQ(immagine.pixel(x, y), verdeAcqua) << x;
    for (int x = sinistra + 7; x <= sinistra + 9; ++x)
        EXPECT_NE(immagine.pixel(x, y), verdeAcqua) << x;
    EXPECT_EQ(immagine.pixel(pixelDaTwips(corniceSinistra + 42 * 150 + 45), y),
              verdeAcqua); // the last dash
    EXPECT_NE(immagine.pixel(sinistra - 1, y), verdeAcqua); // nothing outside the frame
    // The rows of the asymptotes are written in the same colour.
    EXPECT_EQ(coloreRiga("asintoto verticale"), verdeAcqua);
    EXPECT_EQ(coloreRiga("asintoto orizzontale"), verdeAcqua);
}

// y = x + 1 on both sides: dashes along the line, 150 twips a period, from
// where it enters the frame at (-10, -9).
TEST_F(SegniStudioTest, AnObliqueAsymptoteIsDashed)
{
    segna("(x^2+1)/(x-1)", "-3", "3");
    const double passo = 150 / std::hypot(322.0, 224.0); // one period, in units of x
    // How many of the 3 pixels around the line's point in its column are teal.
    const auto sulla = [this](double x) {
        int n = 0;
        for (const int dy : {-1, 0, 1})
            n += pixel(x, x + 1, 0, dy) == verdeAcqua;
        return n;
    };
    for (int k = 10; k < 14; ++k) {
        EXPECT_EQ(sulla(-10 + (k + 0.3) * passo), 1) << k; // in a dash
        EXPECT_EQ(sulla(-10 + (k + 0.8) * passo), 0) << k; // in a gap
    }
    EXPECT_EQ(coloreRiga("asintoto obliquo"), verdeAcqua);
}

} // namespace
} // namespace zelvo
