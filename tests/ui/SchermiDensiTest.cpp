// The main window on screens at 100, 125, 150 and 200 %: four offscreen
// screens of those device pixel ratios in one run (schermi.json), the window
// opened on each and read back in device pixels with grab().
#include "analysis/Scuola.h"
#include "engine/Funzione.h"
#include "plot/Griglia.h"
#include "tests/support/SuperficieRegistrata.h"
#include "tests/ui/FuocoVisibile.h"
#include "ui/Form2.h"
#include "ui/FormStudio.h"
#include "ui/ImmagineGrafico.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <utility>

namespace zelvo {
namespace {

constexpr QRgb rosso = 0xFFFF0000;
constexpr QRgb magenta = 0xFFFF00FF;

struct Schermo
{
    const char *nome;
    double rapporto;
};
constexpr Schermo schermi[] = {{"s100", 1}, {"s125", 1.25}, {"s150", 1.5}, {"s200", 2}};

// The device pixel nearest to a surface coordinate in twips at ratio s.
int pixel(double twips, double s)
{
    return static_cast<int>(std::floor(twips * s / 15 + 0.5));
}

class SchermiDensi : public ::testing::TestWithParam<Schermo>
{
protected:
    void SetUp() override
    {
        QScreen *schermo = nullptr;
        for (QScreen *s : QGuiApplication::screens())
            if (s->name() == QString::fromUtf8(GetParam().nome))
                schermo = s;
        ASSERT_NE(schermo, nullptr) << "run with QT_QPA_PLATFORM=offscreen:configfile=schermi.json";
        ASSERT_DOUBLE_EQ(schermo->devicePixelRatio(), GetParam().rapporto);
        form = std::make_unique<Form2>();
        form->setScreen(schermo);
        form->move(schermo->geometry().topLeft());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_DOUBLE_EQ(form->devicePixelRatioF(), GetParam().rapporto);
    }

    double s() const { return GetParam().rapporto; }

    // The window in device pixels, and its plot frame's part.
    QImage schermo() const { return form->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRect cornice() const
    {
        return QRect(QPoint(0, 0), QPoint(pixel(corniceDestra, s()), pixel(corniceBasso, s())));
    }

    void grafico(const char *funzione)
    {
        form->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::fromUtf8(funzione));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QApplication::processEvents();
    }

    std::unique_ptr<Form2> form;
};

// The empty frame, pixel for pixel: each grid dot on the one device pixel
// nearest to its twips, the axes one device pixel wide, nothing else.
TEST_P(SchermiDensi, GridDotsAndAxesFallOnTheDevicePixelsOfTheirTwips)
{
    SuperficieRegistrata registrata;
    DisegnaGriglia(registrata);
    const QRgb sfondo = form->palette().color(QPalette::Active, QPalette::Window).rgb();
    const QRgb segno = form->palette().color(QPalette::Active, QPalette::ButtonText).rgb();
    QImage attesa(cornice().size(), QImage::Format_RGB32);
    attesa.fill(sfondo);
    int punti = 0;
    for (const Operazione &op : registrata.operazioni) {
        if (op.tipo == Operazione::Tipo::PSet) {
            attesa.setPixel(pixel(op.x1, s()), pixel(op.y1, s()), segno);
            ++punti;
        } else if (op.tipo == Operazione::Tipo::Line && op.x1 == op.x2) {
            for (int y = pixel(op.y2, s()); y <= pixel(op.y1, s()); ++y)
                attesa.setPixel(pixel(op.x1, s()), y, segno);
        } else if (op.tipo == Operazione::Tipo::Line) {
            for (int x = pixel(op.x1, s()); x <= pixel(op.x2, s()); ++x)
                attesa.setPixel(x, pixel(op.y1, s()), segno);
        }
    }
    ASSERT_GT(punti, 1000);
    const QImage vista = schermo().copy(cornice());
    int diversi = 0;
    for (int y = 0; y < attesa.height(); ++y)
        for (int x = 0; x < attesa.width(); ++x)
            if (vista.pixel(x, y) != attesa.pixel(x, y) && ++diversi <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(diversi, 0);
}

// y = x over -10..10: a red line one device pixel wide along the ideal line,
// in every column between the markers, never a 2x2 block; the two magenta
// markers one device pixel wide each.
TEST_P(SchermiDensi, TheCurveOfAStraightLineIsOneDevicePixelWide)
{
    grafico("x");
    const QImage vista = schermo();
    const QRect r = cornice();
    auto e = [&](int x, int y, QRgb c) {
        return vista.pixel(x, y) == c;
    };
    int blocchi = 0;
    std::set<int> colonneMagenta;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            blocchi += x < r.right() && y < r.bottom() && e(x, y, rosso) && e(x + 1, y, rosso)
                    && e(x, y + 1, rosso) && e(x + 1, y + 1, rosso);
            if (e(x, y, magenta))
                colonneMagenta.insert(x);
        }
    EXPECT_EQ(blocchi, 0);
    EXPECT_EQ(colonneMagenta, (std::set<int> {pixel(500, s()), pixel(6940, s())}));

    for (int x = pixel(500, s()) + 1; x < pixel(6940, s()); ++x) {
        // The ideal line through this column's centre: y = x in units,
        // 322 twips across and 224 down per unit, origin at (3720, 2240).
        const double twipsX = x * 15 / s();
        const double yIdeale = (2240 - (twipsX - 3720) * 224.0 / 322.0) * s() / 15;
        int rossi = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (e(x, y, rosso)) {
                ++rossi;
                EXPECT_LE(std::abs(y - yIdeale), 1.0) << "column " << x << " row " << y;
            }
        EXPECT_GE(rossi, 1) << "column " << x;
        EXPECT_LE(rossi, 2) << "column " << x;
    }
}

// Whatever the screen, the graph's picture is the frame at its logical size,
// the same picture a screen at 100 % shows.
TEST_P(SchermiDensi, TheCopiedPictureIsTheLogicalFrame)
{
    grafico("Sin(x)*3");
    const QImage copia = immagineGrafico(form->superficie());
    EXPECT_EQ(copia.size(), QSize(431, 300));
    EXPECT_EQ(copia.devicePixelRatio(), 1);

    // The same study on the screen at 100 %.
    Form2 normale;
    normale.setScreen(QGuiApplication::screens().front());
    normale.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&normale));
    ASSERT_EQ(normale.devicePixelRatioF(), 1);
    normale.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Sin(x)*3"));
    QTest::mouseClick(normale.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QApplication::processEvents();
    const QImage vistaNormale = normale.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copia, vistaNormale.copy(rettangoloGrafico()));
}

// Moved to a screen of another ratio, the window draws what it showed at the
// new ratio: the same pixels as a window that traced it there.
TEST_P(SchermiDensi, AGraphMovedToAnotherScreenIsDrawnAtItsRatio)
{
    Form2 altrove;
    altrove.setScreen(QGuiApplication::screens().front());
    altrove.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&altrove));
    altrove.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("x^2/3-4"));
    QTest::mouseClick(altrove.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QApplication::processEvents();
    altrove.setScreen(form->screen());
    altrove.move(form->screen()->geometry().topLeft());
    QApplication::processEvents();
    ASSERT_DOUBLE_EQ(altrove.devicePixelRatioF(), s());
    grafico("x^2/3-4");
    const QImage qui = schermo().copy(cornice());
    EXPECT_EQ(altrove.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(cornice()), qui);
}

// The focus on the buttons and on the list is a frame in the highlight
// colour, two logical pixels thick at every ratio, gone once the focus moves
// on; whether it came from the keyboard or from a click.
TEST_P(SchermiDensi, TheFocusOnButtonsAndListsIsFramedInTheHighlightColour)
{
    grafico("x^2");
    QWidget *lista1 = form->findChild<QWidget *>(QStringLiteral("List1"));
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(lista1->isVisible());
    for (const char *nome : {"Command2", "List1", "Command1", "Command9"}) {
        SCOPED_TRACE(nome);
        QWidget *controllo = form->findChild<QWidget *>(QString::fromUtf8(nome));
        controllo->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_TRUE(fuocoVisibile(schermo(), *controllo));
        form->findChild<QWidget *>(QStringLiteral("Text1"))->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_FALSE(fuocoVisibile(schermo(), *controllo));
    }
    // A click gives the focus too, and shows it.
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(fuocoVisibile(schermo(), *form->findChild<QWidget *>(QStringLiteral("Command3"))));
}

// On a screen wide enough, the study window opens as wide as its table:
// every description of Sin(x)'s intervals shows whole (the default width,
// and the test windows' 800 pixels, cut them).
TEST(SchermoLargo, TheStudyWindowOpensAsWideAsItsTable)
{
    Funzione f;
    f.DefinisciFunzione("Sin(x)");
    Studio studio = studia(f, -4, 4);
    Scuola scuola = studioScuola(f, studio, -4, 4);
    FormStudio s([](const Studio &, const Scuola &) {}, '.');
    s.mostra(std::move(studio), std::move(scuola), "Sin(x)", -4, 4);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    QApplication::processEvents();
    EXPECT_GT(s.width(), 760);
    EXPECT_EQ(s.findChild<QTableView *>(QStringLiteral("TabellaStudio"))
                      ->horizontalScrollBar()
                      ->maximum(),
              0);
}

INSTANTIATE_TEST_SUITE_P(Rapporti, SchermiDensi, ::testing::ValuesIn(schermi),
                         [](const ::testing::TestParamInfo<Schermo> &p) {
                             return std::string(p.param.nome);
                         });

} // namespace
} // namespace zelvo
