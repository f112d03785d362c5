// The title window as the user meets it: its controls where the layout puts
// them, its two pictures as committed, its button opening the one main window.

#include "ui/Form1.h"
#include "tests/ui/FuocoVisibile.h"
#include "ui/Form2.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <gtest/gtest.h>

namespace zelvo {
namespace {

// Every main window alive, visible or not, not yet deleted.
QList<Form2 *> finestrePrincipali()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<Form2 *> trovate;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<Form2 *>(w))
            trovate << f;
    return trovate;
}

QPushButton *command1(Form1 &form1)
{
    return form1.findChild<QPushButton *>(QStringLiteral("Command1"));
}

QLineEdit *casella(Form2 *form2, const char *nome)
{
    return form2->findChild<QLineEdit *>(QString::fromLatin1(nome));
}

// The layout in twips, 15 to the pixel.
struct AttesoControllo
{
    const char *nome;
    const char *classe;
    int left, top, width, height;
};

TEST(Form1, ControlsStandWhereTheLayoutPutsThem)
{
    Form1 form1;
    EXPECT_EQ(form1.objectName(), "Form1");
    EXPECT_EQ(form1.windowTitle(), "Form1");
    const AttesoControllo attesi[] = {
            {"Image1", "QLabel", 0, 2040, 8490, 4410},
            {"Image2", "QLabel", 9000, 1920, 5355, 4950},
            {"Command1", "QPushButton", 7560, 7440, 6975, 975},
    };
    for (const auto &a : attesi) {
        SCOPED_TRACE(a.nome);
        auto *w = form1.findChild<QWidget *>(QString::fromUtf8(a.nome));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(a.classe)) << w->metaObject()->className();
        EXPECT_EQ(w->geometry(), QRect(a.left / 15, a.top / 15, a.width / 15, a.height / 15));
    }
    // The whole layout shows: it reaches 14535 twips across and 8415 down.
    EXPECT_GE(form1.width(), 969);
    EXPECT_GE(form1.height(), 561);
}

TEST(Form1, TitleIsBlueBoldOnOneLineFittingItsCaption)
{
    Form1 form1;
    auto *label1 = form1.findChild<QLabel *>(QStringLiteral("Label1"));
    ASSERT_NE(label1, nullptr);
    EXPECT_EQ(label1->text(), "Zelvo.  -Morbiana-");
    // 36 pt at 20 twips to the point and 15 twips to the pixel.
    EXPECT_EQ(QFontInfo(label1->font()).family(), "DejaVu Sans"); // for Verdana
    EXPECT_EQ(label1->font().pixelSize(), 48);
    EXPECT_TRUE(label1->font().bold());
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    // Auto-size: left and top from the layout, the size of the caption.
    EXPECT_EQ(label1->pos(), QPoint(8, 8));
    const QSize testo = label1->fontMetrics().size(Qt::TextSingleLine, label1->text());
    EXPECT_EQ(label1->size(), testo);
    // It stays clear of the pictures under it and of the window's right edge.
    EXPECT_LE(label1->geometry().bottom(), 1920 / 15);
    EXPECT_LE(label1->geometry().right(), form1.width());
}

TEST(Form1, ButtonCaptionFitsOnOneLineInVerdanaEighteenBold)
{
    Form1 form1;
    auto *pulsante = command1(form1);
    ASSERT_NE(pulsante, nullptr);
    EXPECT_EQ(pulsante->text(), "Alla pagina di grafica e calcoli");
    EXPECT_EQ(QFontInfo(pulsante->font()).family(), "DejaVu Sans");
    EXPECT_EQ(pulsante->font().pixelSize(), 24);
    EXPECT_TRUE(pulsante->font().bold());
    EXPECT_LE(pulsante->fontMetrics().horizontalAdvance(pulsante->text()), pulsante->width() - 8);
}

TEST(Form1, OnlyTheButtonTakesTheFocusAndHasItAtTheStart)
{
    Form1 form1;
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form1));
    EXPECT_EQ(QApplication::focusWidget(), command1(form1));
    for (QWidget *w : form1.findChildren<QWidget *>()) {
        if (w != command1(form1)) {
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
        }
    }
}

// The button has the focus from the start, and shows it; the window is never
// smaller than its layout.
TEST(Form1, TheButtonShowsItHasTheFocusAndNothingIsCutOff)
{
    Form1 form1;
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form1));
    const QSize layout = form1.size();
    EXPECT_TRUE(fuocoVisibile(form1.grab().toImage(), *command1(form1)));
    form1.resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(form1.size(), layout);
}

TEST(Form1, WindowShowsThePicturesUnscaledAndTheTitleInBlue)
{
    Form1 form1;
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1));
    const QImage schermo = form1.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const auto &[nome, origine] :
         {std::pair {"Image1", QPoint(0, 136)}, std::pair {"Image2", QPoint(600, 128)}}) {
        SCOPED_TRACE(nome);
        const QImage bmp = QImage(QStringLiteral(":/immagini/%1.bmp").arg(QLatin1String(nome)))
                                   .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(bmp.isNull());
        EXPECT_EQ(schermo.copy(QRect(origine, bmp.size())), bmp);
    }

    // Outside the pictures, the blue of the title spans its label, from the
    // "Z" to the last "-".
    const QRect label1 = form1.findChild<QLabel *>(QStringLiteral("Label1"))->geometry();
    const QRegion immagini = QRegion(0, 136, 566, 294) + QRegion(600, 128, 357, 330);
    QRect blu;
    for (int y = 0; y < schermo.height(); ++y) {
        for (int x = 0; x < schermo.width(); ++x) {
            if (schermo.pixel(x, y) == qRgb(0, 0, 255) && !immagini.contains(QPoint(x, y)))
                blu |= QRect(x, y, 1, 1);
        }
    }
    EXPECT_TRUE(label1.contains(blu)) << blu.x() << ',' << blu.y() << ' ' << blu.width();
    EXPECT_LE(blu.left() - label1.left(), 6);
    EXPECT_LE(label1.right() - blu.right(), 6);
    EXPECT_GE(blu.height(), 30);
}

// The two pictures are plain 24-bit BMP files of a fixed size.
TEST(Form1, PicturesAreUncompressedTwentyFourBitBitmaps)
{
    struct Atteso
    {
        const char *risorsa;
        qint32 larghezza, altezza;
        qint64 byte;
    };
    for (const Atteso &a : {Atteso {":/immagini/Image1.bmp", 566, 294, 499854},
                            Atteso {":/immagini/Image2.bmp", 357, 330, 353814}}) {
        SCOPED_TRACE(a.risorsa);
        QFile file(QString::fromUtf8(a.risorsa));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray b = file.readAll();
        ASSERT_EQ(b.size(), a.byte);
        const auto u16 = [&](int at) {
            return qFromLittleEndian<quint16>(b.constData() + at);
        };
        const auto u32 = [&](int at) {
            return qFromLittleEndian<quint32>(b.constData() + at);
        };
        const auto i32 = [&](int at) {
            return qFromLittleEndian<qint32>(b.constData() + at);
        };
        EXPECT_EQ(b.left(2), "BM");
        EXPECT_EQ(u32(2), a.byte); // file size
        EXPECT_EQ(u32(10), 54u); // pixels right after the two headers
        EXPECT_EQ(u32(14), 40u); // BITMAPINFOHEADER
        EXPECT_EQ(i32(18), a.larghezza);
        EXPECT_EQ(i32(22), a.altezza); // positive: rows bottom-up
        EXPECT_EQ(u16(26), 1); // planes
        EXPECT_EQ(u16(28), 24); // bits per pixel
        EXPECT_EQ(u32(30), 0u); // BI_RGB: uncompressed
        EXPECT_EQ(QImage::fromData(b).size(), QSize(a.larghezza, a.altezza));
    }
}

TEST(Form1, ButtonCreatesTheMainWindowOnceAndThenOnlyShowsIt)
{
    Form1 form1;
    form1.show();
    EXPECT_TRUE(finestrePrincipali().isEmpty()); // nothing but the title window at the start

    QTest::mouseClick(command1(form1), Qt::LeftButton);
    ASSERT_EQ(finestrePrincipali().size(), 1);
    QPointer<Form2> prima = finestrePrincipali().front();
    EXPECT_TRUE(prima->isVisible());
    EXPECT_TRUE(form1.isVisible()); // not modal: the title window stays

    QTest::keyClicks(casella(prima, "Text1"), QStringLiteral("x^2-1"));
    prima->hide(); // e.g. behind another window: the next click brings it back
    QTest::mouseClick(command1(form1), Qt::LeftButton);
    ASSERT_EQ(finestrePrincipali().size(), 1);
    EXPECT_EQ(finestrePrincipali().front(), prima.data());
    EXPECT_TRUE(prima->isVisible());
    EXPECT_EQ(casella(prima, "Text1")->text(), "x^2-1"); // what was typed stays
}

TEST(Form1, MainWindowReopenedAfterClosingIsNewButKeepsTheCalculationValues)
{
    Form1 form1;
    form1.show();
    QTest::mouseClick(command1(form1), Qt::LeftButton);
    QPointer<Form2> prima = finestrePrincipali().front();
    prima->stato().estremoA = -7.5;
    prima->stato().passo = 0.01;
    prima->stato().xTrovato = 5.12;
    const StatoCalcolo *stato = &prima->stato();
    QTest::keyClicks(casella(prima, "Text1"), QStringLiteral("x^2-1"));
    casella(prima, "Text2")->setText(QStringLiteral("-5"));

    ASSERT_TRUE(prima->close());
    EXPECT_TRUE(finestrePrincipali().isEmpty());
    EXPECT_TRUE(prima.isNull()); // deleted, with its controls and engine
    EXPECT_TRUE(form1.isVisible());

    QTest::mouseClick(command1(form1), Qt::LeftButton);
    ASSERT_EQ(finestrePrincipali().size(), 1);
    Form2 *seconda = finestrePrincipali().front();
    EXPECT_TRUE(seconda->isVisible());
    EXPECT_EQ(casella(seconda, "Text1")->text(), ""); // controls as designed
    EXPECT_EQ(casella(seconda, "Text2")->text(), "-10");
    EXPECT_EQ(&seconda->stato(), stato);
    EXPECT_EQ(seconda->stato().estremoA, -7.5);
    EXPECT_EQ(seconda->stato().passo, 0.01);
    EXPECT_EQ(seconda->stato().xTrovato, 5.12);
}

// The program ends when no window is open any more, in either order, and not
// before: the event loop runs until the last window closes.
TEST(Form1, ProgramEndsWhenTheLastWindowCloses)
{
    QApplication::setQuitOnLastWindowClosed(true);
    for (const bool primaIlTitolo : {true, false}) {
        SCOPED_TRACE(primaIlTitolo ? "title window first" : "main window first");
        Form1 form1;
        form1.show();
        QTest::mouseClick(command1(form1), Qt::LeftButton);
        QPointer<Form2> form2 = finestrePrincipali().front();
        QWidget *prima = primaIlTitolo ? static_cast<QWidget *>(&form1) : form2.data();
        QWidget *seconda = primaIlTitolo ? form2.data() : static_cast<QWidget *>(&form1);

        bool apertaDopoLaPrima = false;
        QTimer::singleShot(0, prima, &QWidget::close);
        QTimer::singleShot(100, seconda, [&] {
            apertaDopoLaPrima = seconda->isVisible();
            seconda->close();
        });
        QTimer garanzia; // never hang
        garanzia.callOnTimeout([] { QCoreApplication::exit(99); });
        garanzia.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(apertaDopoLaPrima);
    }
    QApplication::setQuitOnLastWindowClosed(false);
}

// Without a display the program says so and how to run it, instead of
// aborting inside Qt.
TEST(Form1, ProgramWithoutADisplaySaysSo)
{
    QProcess zelvo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char *variabile : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ambiente.remove(QString::fromLatin1(variabile));
    zelvo.setProcessEnvironment(ambiente);
    zelvo.start(QStringLiteral(ZELVO_PROGRAMMA), {});
    ASSERT_TRUE(zelvo.waitForFinished(10000));
    EXPECT_EQ(zelvo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(zelvo.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(zelvo.readAllStandardError()),
              "Nessun display: Zelvo è una finestra e qui non c'è uno schermo su cui aprirla.\n"
              "Per provarlo senza schermo:  xvfb-run -a zelvo\n");
}

} // namespace
} // namespace zelvo

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The test closes windows itself; the application must outlive them all.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
