// The main window's commands driven as a user drives them: typing, picking
// combo items, clicking buttons, then reading labels, list rows and pixels.
#include "tests/ui/FinestraDiProva.h"
#include "ui/Pulsante.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string_view>

namespace zelvo {
namespace {

const QString kAvvisoMeno = QStringLiteral(
        "Attenzione: in questo linguaggio -x^2 vale (−x)², non −x²: per −x² si scrive -(x^2) o "
        "0-x^2");

using Form2Comandi = FinestraDiProva;

// f(x) = x from -2.5 to 5 by 0.01, one unit per division across and 0.1 down:
// below -1 the points pile up on the bottom edge, above 1 they leave the top.
TEST_F(Form2Comandi, GraficoTracesRedPointsMagentaMarkersAndShowsTheSettings)
{
    digita("Text1", "x");
    digita("Text2", n("-2.5"));
    digita("Text3", "5");
    scegli("Combo3", "st0.01");
    scegli("Combo2", "0.1/div.");
    clic("Command1");

    EXPECT_EQ(testo("Label23"), n("0.01"));
    EXPECT_EQ(testo("Label7"), "1");
    EXPECT_EQ(testo("Label9"), n("0.1"));
    EXPECT_EQ(testo("LabelStato"), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy cursor is gone

    const QImage s = schermo();
    // Markers at a (2915 twips) and b (5330 twips), the full height of the frame.
    for (int y = 0; y <= 299; ++y) {
        ASSERT_EQ(s.pixel(194, y), magenta) << y;
        ASSERT_EQ(s.pixel(355, y), magenta) << y;
    }
    EXPECT_EQ(s.pixel(248, 149), rosso); // x = 0 at the origin
    EXPECT_EQ(s.pixel(259, 75), rosso); // x = 0.5: (3881, 1120)
    // x < -1 is below the frame: not drawn along its bottom edge as if f
    // were -1 there (nor anywhere else).
    int rossiSotto = 0;
    for (int x = 0; x < 225; ++x)
        for (int y = 0; y < s.height(); ++y)
            rossiSotto += s.pixel(x, y) == rosso;
    EXPECT_EQ(rossiSotto, 0);
    int rossiOltre = 0; // x > 1 is above the frame: unseen
    for (int y = 0; y < s.height(); ++y)
        for (int x = 272; x < s.width(); ++x)
            rossiOltre += s.pixel(x, y) == rosso;
    EXPECT_EQ(rossiOltre, 0);

    // A second run draws the same picture.
    clic("Command1");
    EXPECT_EQ(schermo(), s);

    // The graph stays when the window is hidden, shown and resized again.
    form->hide();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->resize(300, 200);
    form->resize(1024, 724);
    const QImage dopo = schermo();
    EXPECT_EQ(dopo.pixel(259, 75), rosso);
    EXPECT_EQ(dopo.pixel(355, 10), magenta);
}

TEST_F(Form2Comandi, AFailedConversionIsReportedAndEveryInputStaysAsTyped)
{
    digita("Text1", "x*2");
    digita("Text2", n("-1.5"));
    digita("Text3", "abc");
    scegli("Combo1", "10/div.");
    clic("Command1");

    EXPECT_EQ(form->stato().estremoA, -1.5); // a was read and stored before b failed
    EXPECT_EQ(testo("LabelStato").toStdString(),
              "Errore 13: Tipo non corrispondente — b = \"abc\"");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(c<QLineEdit>("Text1")->text(), "x*2");
    EXPECT_EQ(c<QLineEdit>("Text2")->text(), n("-1.5"));
    EXPECT_EQ(c<QLineEdit>("Text3")->text(), "abc");
    EXPECT_EQ(c<QComboBox>("Combo1")->currentText(), "10/div.");
    EXPECT_EQ(testo("Label7"), ""); // the run ended before the scale labels

    // Put right, the next run draws and clears the message.
    digita("Text3", "2");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), "");
    EXPECT_EQ(testo("Label7"), "10");
    EXPECT_EQ(form->stato().estremoB, 2);
}

// The status line tells what went wrong, the command's own word first, then
// calcolo's; the window goes on and the inputs stay as typed.
TEST_F(Form2Comandi, TheStatusLineReportsFailuresAndRefusals)
{
    struct Caso
    {
        const char *f, *a, *b, *comando;
        QString stato;
    } casi[] = {
            {"1/x", "0", "1", "Command1",
             "f non definita in 1 punto su 11 — Errore 11: Divisione per zero in x = 0"},
            {"1/x", "0", "1", "Command9",
             "f non definita in x = 0; f non "
             "definita in 1 punto su 11 — Errore 11: Divisione per zero in x = 0"},
            {"1E308", "-1", "1", "Command1", "Errore 6: Overflow — f(-1) = 1E+308"},
            {"x+", "-1", "1", "Command1",
             "Funzione rifiutata — Errore 1023: Prevista espressione alla fine del testo"},
            {"x", "1", "-1", "Command1",
             "a > b: nessun campione — a deve essere minore o uguale a b"},
            {"x", "-11", "1", "Command1",
             n("Intervallo rifiutato — a = -11: a e b devono stare tra -10.1 e 10.1")},
            {"x", "1", "1", "Command1", ""},
    };
    scegli("Combo3", "st0.1");
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.f);
        digita("Text1", caso.f);
        digita("Text2", caso.a);
        digita("Text3", caso.b);
        clic("Command1");
        if (std::string_view(caso.comando) != "Command1")
            clic(caso.comando);
        EXPECT_EQ(testo("LabelStato").toStdString(), caso.stato.toStdString());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(c<QLineEdit>("Text1")->text(), caso.f);
        EXPECT_EQ(c<QLineEdit>("Text2")->text(), caso.a);
        EXPECT_EQ(c<QLineEdit>("Text3")->text(), caso.b);
    }
}

// A command computes on the inputs as they stand when it is pressed, not on
// those of the last Grafico: its result describes the graph shown beside it.
TEST_F(Form2Comandi, ACommandComputesOnTheInputsOnScreen)
{
    digita("Text1", "x^2-4");
    clic("Command1"); // -10..10 by 0.001: the top is 96 at the ends
    digita("Text1", "5-x^2");
    clic("Command10");
    EXPECT_EQ(testo("Label16"), "5");
    EXPECT_EQ(testo("Label13"), "0");
    EXPECT_EQ(schermo().pixel(248, 75), rosso); // (0, 5): (3720, 1120) twips

    // The integral of 2 on the interval shown now, -1..1.
    digita("Text1", "x");
    clic("Command1");
    digita("Text1", "2");
    digita("Text2", "-1");
    digita("Text3", "1");
    clic("Command8");
    EXPECT_EQ(testo("Label15"), "4");

    // The root of the function typed, at the first press.
    digita("Text1", "x-0.5");
    clic("Command9");
    EXPECT_EQ(testo("Label21"), n("0.5"));
}

// Inputs that are refused make every command compute nothing: its result
// says so in a word, the status line says why, a list holds no row.
TEST_F(Form2Comandi, RefusedInputsComputeNothingAndSayWhy)
{
    struct Caso
    {
        const char *f, *a, *b, *risultato;
        QString stato;
    } casi[] = {
            {"", "-10", "+10", "funzione non valida",
             "Funzione rifiutata — Errore 1023: Prevista espressione alla fine del testo"},
            {"x", "-1", "abc", "intervallo non valido",
             "Errore 13: Tipo non corrispondente — b = \"abc\""},
            {"x", "-11", "1", "intervallo non valido",
             n("Intervallo rifiutato — a = -11: a e b devono stare tra -10.1 e 10.1")},
    };
    const std::pair<const char *, const char *> comandi[] = {{"Command9", "Label21"},
                                                             {"Command10", "Label13"},
                                                             {"Command11", "Label13"},
                                                             {"Command8", "Label15"}};
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.f);
        digita("Text1", "x");
        digita("Text2", "-1");
        digita("Text3", "1");
        clic("Command2");
        ASSERT_FALSE(righe("List1").isEmpty());

        digita("Text1", caso.f);
        digita("Text2", caso.a);
        digita("Text3", caso.b);
        for (const auto &[comando, etichetta] : comandi) {
            clic(comando);
            EXPECT_EQ(testo(etichetta), caso.risultato) << comando;
            EXPECT_EQ(testo("LabelStato"), caso.stato) << comando;
        }
        clic("Command2");
        EXPECT_TRUE(righe("List1").isEmpty());
        EXPECT_EQ(testo("LabelStato"), caso.stato);
    }
}

// Results of another function, interval or step are emptied by the run of
// calcolo that changes them; a change of scale alone keeps them.
TEST_F(Form2Comandi, ResultsThatNoLongerDescribeTheGraphAreCleared)
{
    digita("Text1", "x");
    digita("Text2", "-1");
    digita("Text3", "1");
    clic("Command9");
    clic("Command8");
    const QString radice = testo("Label21");
    ASSERT_FALSE(radice.isEmpty());
    ASSERT_FALSE(testo("Label15").isEmpty());

    scegli("Combo1", "1/div.");
    scegli("Combo2", "0.1/div.");
    clic("Command1");
    EXPECT_EQ(testo("Label21"), radice);

    struct Modifica
    {
        const char *controllo;
        QString testo;
    } modifiche[] = {{"Text1", "x-0.5"}, {"Text2", "-2"}, {"Text3", n("0.9")}, {"Combo3", "st0.1"}};
    for (const Modifica &m : modifiche) {
        SCOPED_TRACE(m.controllo);
        clic("Command9");
        clic("Command10");
        ASSERT_FALSE(testo("Label21").isEmpty() && testo("Label13").isEmpty());
        digita(m.controllo, m.testo);
        clic("Command1");
        for (const char *risultato : {"Label21", "Label13", "Label16", "Label20", "Label15"})
            EXPECT_EQ(testo(risultato), "") << risultato;
    }
}

// x^3 - 3x on -2..2: roots at 0 and ±sqrt(3); the maximum 2 at -1 and at 2,
// the minimum -2 at -2 and at 1: the rightmost of each.
TEST_F(Form2Comandi, RootMaximumMinimumAndIntegralFillTheirLabels)
{
    digita("Text1", "x^3-3*x");
    digita("Text2", "-2");
    digita("Text3", "2");
    scegli("Combo3", "st0.1");
    clic("Command1");
    ASSERT_EQ(testo("LabelStato"), "");

    clic("Command9");
    EXPECT_EQ(testo("Label21"), n("1.73205080756888"));

    clic("Command10");
    EXPECT_EQ(testo("Label13"), "2");
    EXPECT_EQ(testo("Label16"), "2");
    EXPECT_EQ(testo("Label20"), "");
    EXPECT_EQ(testo("Label21"), "");

    clic("Command11");
    EXPECT_EQ(testo("Label13"), "1");
    EXPECT_EQ(testo("Label20"), "-2");
    EXPECT_EQ(testo("Label16"), "");
    EXPECT_EQ(testo("Label21"), "");

    clic("Command8");
    EXPECT_EQ(testo("Label15"), "0");

    // Every command ends by tracing the graph again.
    const QImage s = schermo();
    EXPECT_EQ(s.pixel(205, 10), magenta); // a = -2: 3076 twips
    EXPECT_EQ(s.pixel(248, 149), rosso); // f(0) = 0
    EXPECT_EQ(testo("Label23"), n("0.1"));
    EXPECT_EQ(testo("LabelStato"), "");
}

TEST_F(Form2Comandi, AResultWiderThanItsPlaceholderWidensTheLabel)
{
    digita("Text1", "x");
    digita("Text2", "-1");
    digita("Text3", "1");
    clic("Command1");
    auto *label21 = c<QLabel>("Label21");
    const QPoint angolo = label21->pos();
    clic("Command9");
    ASSERT_FALSE(testo("Label21").isEmpty());
    EXPECT_EQ(label21->pos(), angolo);
    EXPECT_EQ(label21->width(), label21->sizeHint().width());
    EXPECT_GE(label21->width(), label21->fontMetrics().horizontalAdvance(testo("Label21")));
}

TEST_F(Form2Comandi, AListCommandFillsItsListShowsItAloneAndTurnsItsButtonRed)
{
    digita("Text1", "x");
    scegli("Combo3", "st0.1");
    clic("Command1"); // a = -10, b = +10 as the window starts
    clic("Command3");

    EXPECT_FALSE(c("List1")->isVisible());
    EXPECT_TRUE(c("List2")->isVisible());
    EXPECT_FALSE(c("List3")->isVisible());
    EXPECT_FALSE(c("List4")->isVisible());
    QStringList r = righe("List2");
    ASSERT_EQ(r.size(), 201);
    EXPECT_EQ(r[0], "x = -10   y= -10");
    EXPECT_EQ(r[100], "x = 0   y= 0");
    EXPECT_EQ(r[200], "x = 10   y= 10");
    EXPECT_TRUE(righe("List1").isEmpty());

    QImage s = schermo();
    EXPECT_EQ(s.pixel(816 + 6, 486 + 16), rosso); // Command3
    EXPECT_EQ(s.pixel(816 + 6, 440 + 16), qRgb(0, 192, 0)); // Command2 still green
    // The list shows its first rows on screen: some text pixels inside it.
    int scuri = 0;
    for (int y = 356; y < 380; ++y)
        for (int x = 12; x < 200; ++x)
            scuri += qGray(s.pixel(x, y)) < 100;
    EXPECT_GT(scuri, 20);

    // A shorter run of another function replaces every row.
    digita("Text1", "2*x");
    digita("Text3", "0");
    clic("Command3");
    r = righe("List2");
    ASSERT_EQ(r.size(), 101);
    EXPECT_EQ(r[0], "x = -10   y= -20");
    EXPECT_EQ(r[100], "x = 0   y= 0");

    clic("Command2");
    EXPECT_TRUE(c("List1")->isVisible());
    EXPECT_FALSE(c("List2")->isVisible());
    EXPECT_EQ(righe("List1").size(), 101);
    s = schermo();
    EXPECT_EQ(s.pixel(816 + 6, 440 + 16), rosso);
    EXPECT_EQ(s.pixel(816 + 6, 486 + 16), rosso);
}

// The rows stay across functions, so a list says what it holds: its tooltip
// and the status line name the function, a, b and the step; the button of
// the list on view is drawn sunken with a dark frame, the others as ever.
// A refilled list shows its first row.
TEST_F(Form2Comandi, AListSaysWhatItHoldsAndShowsItsFirstRow)
{
    digita("Text1", "Sqr(x)");
    digita("Text2", "-2");
    digita("Text3", "2");
    scegli("Combo3", "st0.1");
    clic("Command4");
    // 41 rows: -2, -1.9 ... 2, b itself included.
    const QString descrizione = n("Sqr(x), a = -2, b = 2, passo 0.1 — 41 righe");
    EXPECT_EQ(righe("List3").back(), n("x = 2   y= 1.4142135623731"));
    EXPECT_EQ(c("List3")->toolTip(), descrizione);
    EXPECT_TRUE(testo("LabelStato").startsWith(descrizione)) << testo("LabelStato").toStdString();

    // Another function drawn: List3 still says it holds Sqr(x)'s rows.
    digita("Text1", "1/x");
    clic("Command1");
    EXPECT_EQ(c("List3")->toolTip(), descrizione);

    const QImage s = schermo();
    EXPECT_LT(qGray(s.pixel(920 + 3, 440 + 16)), 60); // Command4: the frame of the one on view
    EXPECT_EQ(s.pixel(816 + 3, 440 + 16), qRgb(0, 192, 0)); // Command2: its green face

    // Scrolled to the end, then refilled: the first row shows.
    auto *lista = c<QListView>("List3");
    digita("Text2", "-10");
    digita("Text3", "10");
    clic("Command4");
    lista->scrollToBottom();
    ASSERT_GT(lista->verticalScrollBar()->value(), 0);
    digita("Text3", "-5");
    clic("Command4");
    EXPECT_EQ(lista->verticalScrollBar()->value(), 0);
    EXPECT_EQ(lista->indexAt(QPoint(4, 4)).row(), 0);
}

TEST_F(Form2Comandi, TheWidestListHoldsEveryRowAndScrollsToTheLast)
{
    digita("Text1", "x");
    digita("Text2", n("-10.1"));
    digita("Text3", n("10.1"));
    scegli("Combo3", "st0.0001");
    clic("Command1");
    clic("Command6");
    auto *lista = c<QListView>("List4");
    const int righe = lista->model()->rowCount();
    EXPECT_EQ(righe, 202001);
    EXPECT_EQ(lista->model()->index(0, 0).data().toString(), n("x = -10.1   y= -10.1"));
    QApplication::processEvents(); // the view lays its rows out
    lista->scrollToBottom();
    const QModelIndex ultima = lista->model()->index(righe - 1, 0);
    const QRect riga = lista->visualRect(ultima);
    EXPECT_GE(riga.top(), 0);
    EXPECT_LT(riga.bottom(), lista->viewport()->height());
    EXPECT_EQ(ultima.data().toString(), n("x = 10.1   y= 10.1"));
}

// A long run, then a short one into the same list: only the short run's rows.
TEST_F(Form2Comandi, AListHoldsTheRowsOfItsLastRunOnly)
{
    digita("Text1", "x^2");
    scegli("Combo3", "st0.01");
    clic("Command4");
    ASSERT_EQ(righe("List3").size(), 2001);
    digita("Text1", "x^2-1");
    digita("Text2", "-1");
    digita("Text3", "1");
    scegli("Combo3", "st0.1");
    clic("Command4");
    const QStringList r = righe("List3");
    ASSERT_EQ(r.size(), 21);
    EXPECT_EQ(r[0], "x = -1   y= 0");
    EXPECT_TRUE(r[20].startsWith(n("x = 1   y= ")) || r[20].startsWith(n("x = 0.99")))
            << r[20].toStdString();
}

// Where f is not defined nothing is drawn: no false segment along the axis.
TEST_F(Form2Comandi, NoGraphWhereFIsNotDefined)
{
    digita("Text1", "Sqr(x)");
    digita("Text2", "-1");
    digita("Text3", "1");
    scegli("Combo1", "0.1/div."); // one unit in ten divisions: -1..1 fills the frame
    clic("Command1");
    QImage s = schermo();
    for (int x = 33; x < 248; ++x) // the axis left of the origin
        ASSERT_NE(s.pixel(x, 149), rosso) << x;
    EXPECT_EQ(s.pixel(461, 149 - 15), rosso); // (1, 1): 224 twips above the axis
    EXPECT_FALSE(testo("LabelStato").isEmpty()); // how many failed, and why

    // A refused expression draws no point at all; the markers stay.
    digita("Text1", "x+");
    clic("Command1");
    s = schermo();
    for (int y = 0; y < 300; ++y)
        for (int x = 33; x <= 463; ++x)
            ASSERT_NE(s.pixel(x, y), rosso) << x << "," << y;
    EXPECT_EQ(s.pixel(33, 100), magenta);
}

// A list's x are those a person writes: -0.3, -0.2, -0.1, 0, not
// 2.77555756156289E-17, and b itself ends it.
TEST_F(Form2Comandi, AListsRowsAreAtTheXAPersonWrites)
{
    digita("Text1", "Sqr(x)");
    digita("Text2", n("-0.3"));
    digita("Text3", n("0.3"));
    scegli("Combo3", "st0.1");
    clic("Command2");
    EXPECT_EQ(
            righe("List1"),
            (QStringList {n("x = -0.3   y= non definita"), n("x = -0.2   y= non definita"),
                          n("x = -0.1   y= non definita"), "x = 0   y= 0",
                          n("x = 0.1   y= 0.316227766016838"), n("x = 0.2   y= 0.447213595499958"),
                          n("x = 0.3   y= 0.547722557505166")}));
}

// a = b is one point: f there is the maximum and the minimum, the integral
// is 0, and there is a root only where f is 0.
TEST_F(Form2Comandi, AnIntervalOfOnePointHasItsOwnResults)
{
    digita("Text1", "x^2");
    digita("Text2", "2");
    digita("Text3", "2");
    clic("Command9");
    EXPECT_EQ(testo("Label21"), "nessuna radice");
    clic("Command10");
    EXPECT_EQ(testo("Label13"), "2");
    EXPECT_EQ(testo("Label16"), "4");
    clic("Command11");
    EXPECT_EQ(testo("Label13"), "2");
    EXPECT_EQ(testo("Label20"), "4");
    clic("Command8");
    EXPECT_EQ(testo("Label15"), "0");
    EXPECT_EQ(testo("LabelStato"), "");
    digita("Text1", "x^2-4");
    clic("Command9");
    EXPECT_EQ(testo("Label21"), "2");
}

// Exp(-x^2) is e^((-x)^2), as the language reads it; the status line says
// so, once, with every command, and says nothing for Exp(-(x^2)).
TEST_F(Form2Comandi, AMinusBeforeAPowerIsToldInTheStatusLine)
{
    digita("Text1", "Exp(-x^2)");
    digita("Text2", "-2");
    digita("Text3", "2");
    scegli("Combo3", "st0.1");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), kAvvisoMeno);
    clic("Command11");
    EXPECT_EQ(testo("Label20"), "1"); // the minimum of e^(x^2)
    EXPECT_EQ(testo("LabelStato"), kAvvisoMeno);
    clic("Command2");
    EXPECT_EQ(testo("LabelStato").count(kAvvisoMeno), 1) << testo("LabelStato").toStdString();
    digita("Text1", "Exp(-(x^2))");
    clic("Command11");
    EXPECT_EQ(testo("Label20"), n("0.0183156388887342"));
    EXPECT_EQ(testo("LabelStato"), "");
}

// A list sweeps the graph's grid: its count of undefined points is said once,
// not twice joined by ";". The exact answers say where f is not defined.
TEST_F(Form2Comandi, EachMessageOnce)
{
    digita("Text1", "Sqr(x)");
    scegli("Combo3", "st0.01");
    clic("Command2");
    const std::string conteggio = "f non definita in 1000 punti su 2001 — Errore 5: Chiamata di "
                                  "routine o argomento non validi in x = -10";
    // What the list holds, then the count, once.
    const std::string lista = n("Sqr(x), a = -10, b = 10, passo 0.01 — 2001 righe").toStdString();
    EXPECT_EQ(testo("LabelStato").toStdString(), lista + "; " + conteggio);
    EXPECT_EQ(c("List1")->toolTip().toStdString(), lista);
    clic("Command10");
    EXPECT_EQ(testo("LabelStato").toStdString(), "f non definita in [-10; 0]; " + conteggio);
}

// A combo's text that is none of its items keeps the default, as ever, and
// the status line says so with the items offered; the window's own caption
// and an empty combo stay silent.
TEST_F(Form2Comandi, AnUnrecognisedComboTextIsTold)
{
    digita("Text1", "x");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), ""); // the captions as the window opens
    digita("Combo3", "0,5");
    digita("Combo1", "0.1");
    clic("Command1");
    EXPECT_EQ(testo("Label23"), n("0.001"));
    EXPECT_EQ(testo("Label7"), "1");
    EXPECT_EQ(testo("LabelStato").toStdString(),
              "Scala delle ascisse: \"0.1\" non riconosciuto, usato 1/div. (voci: 10/div., "
              "1/div., 0.1/div., 0.01/div.) · Passo di calcolo: \"0,5\" non riconosciuto, usato "
              "0.001 (voci: st0.1, st0.01, st0.001, st0.0001)");
    digita("Combo3", "");
    digita("Combo1", "");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), "");
}

// The status line shows its whole text, however long: it wraps inside the window.
TEST_F(Form2Comandi, AStatusLineOfTwoMessagesFitsInTheWindow)
{
    digita("Text1", "1/Int(x*2)+Log(x)");
    digita("Text2", n("-0.5"));
    digita("Text3", "1");
    scegli("Combo3", "st0.1");
    clic("Command9");
    auto *stato = c<QLabel>("LabelStato");
    const QString t = stato->text();
    ASSERT_TRUE(t.contains("; ")) << t.toStdString();
    const QRect necessario = stato->fontMetrics().boundingRect(QRect(0, 0, stato->width(), 10000),
                                                               Qt::TextWordWrap, t);
    EXPECT_GT(necessario.height(), stato->fontMetrics().height()); // more than one line
    EXPECT_GE(stato->height(), necessario.height());
    EXPECT_TRUE(form->rect().contains(stato->geometry())) << form->height();
    EXPECT_TRUE(stato->toolTip().isEmpty() || stato->toolTip() == t);
}

// A long command shows its progress after half a second; Esc stops it,
// leaving its result blank and "Interrotto" in the status line; a click
// given meanwhile is handled afterwards.
TEST_F(Form2Comandi, LongWorkShowsProgressAndStopsOnEsc)
{
    // 200,001 terms: each command lasts seconds on any machine, well past
    // the half second after which it shows its progress.
    QString somma = "x";
    for (int k = 0; k < 200000; ++k)
        somma += "+x";
    c<QLineEdit>("Text1")->setText(somma); // pasted: typing it would take minutes
    QString duranteIlCalcolo;
    QTimer::singleShot(900, form.get(), [&] {
        duranteIlCalcolo = testo("LabelStato");
        QTest::mouseClick(c<QPushButton>("Command10"), Qt::LeftButton); // held back
        QTest::keyClick(form.get(), Qt::Key_Escape);
    });
    clic("Command9");
    EXPECT_TRUE(duranteIlCalcolo.startsWith("Calcolo in corso: "))
            << duranteIlCalcolo.toStdString();
    EXPECT_TRUE(duranteIlCalcolo.endsWith(" % — Esc per interrompere"));
    EXPECT_EQ(testo("LabelStato"), "Interrotto");
    EXPECT_EQ(testo("Label21"), "");
    EXPECT_EQ(testo("Label13"), "---------"); // the click on Max waits...
    for (int k = 0; k < 400 && testo("Label13") == "---------"; ++k)
        QTest::qWait(50);
    EXPECT_EQ(testo("Label13"), "10"); // ...and is handled after: x * 200001 peaks at b
}

// The window grows for a long message and gives the height back after a
// short one.
TEST_F(Form2Comandi, TheWindowGivesTheHeightBack)
{
    const int altezza = form->height();
    digita("Text1", "1/Int(x*2)+Log(x)");
    digita("Text2", n("-0.5"));
    digita("Text3", "1");
    scegli("Combo3", "st0.1");
    clic("Command9");
    ASSERT_GT(form->height(), altezza) << testo("LabelStato").toStdString();
    digita("Text1", "x");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), "");
    EXPECT_EQ(form->height(), altezza);
}

// a > b: the frame and the markers, and the status line says why nothing else.
TEST_F(Form2Comandi, AAboveBIsTold)
{
    digita("Text1", "x");
    digita("Text2", "1");
    digita("Text3", "-1");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), "a > b: nessun campione — a deve essere minore o uguale a b");
}

// Every digit of a row can be seen: no row is elided, the list scrolls sideways.
TEST_F(Form2Comandi, TheWidestRowIsWhollyVisibleAfterScrolling)
{
    digita("Text1", "x/3E+20");
    digita("Text2", n("-0.123456789012345")); // every x with 15 digits
    digita("Text3", "1");
    scegli("Combo3", "st0.01");
    clic("Command2");
    auto *lista = c<QListView>("List1");
    const QFontMetrics metrica(lista->font());
    int piuLarga = 0;
    QModelIndex indice;
    for (int i = 0; i < lista->model()->rowCount(); ++i) {
        const QModelIndex k = lista->model()->index(i, 0);
        const int l = metrica.horizontalAdvance(k.data().toString());
        if (l > piuLarga) {
            piuLarga = l;
            indice = k;
        }
    }
    ASSERT_GT(piuLarga, lista->viewport()->width()); // wider than the list
    QApplication::processEvents();
    lista->scrollTo(indice);
    lista->horizontalScrollBar()->setValue(lista->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect r = lista->visualRect(indice);
    EXPECT_GE(r.width(), piuLarga);
    EXPECT_LE(r.left() + piuLarga, lista->viewport()->width()) << r.left();

    // Its last characters are drawn where its width ends.
    const QImage vista = lista->viewport()->grab().toImage();
    int scuriInFondo = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left() + piuLarga - 12; x < r.left() + piuLarga; ++x)
            scuriInFondo += qGray(vista.pixel(x, y)) < 100;
    EXPECT_GT(scuriInFondo, 5);
}

// A pasted text keeps every character, far past the toolkit's usual 32,767.
TEST_F(Form2Comandi, APastedFunctionKeepsEveryCharacter)
{
    const QString lunga = QString(199'998, ' ') + "x-1";
    auto *text1 = c<QLineEdit>("Text1");
    text1->clear();
    text1->setFocus();
    QApplication::clipboard()->setText(lunga);
    QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(text1->text().size(), 200'001);
    EXPECT_EQ(text1->text(), lunga);
    digita("Text2", "-1");
    digita("Text3", "1");
    clic("Command1");
    EXPECT_EQ(testo("LabelStato"), "");
    EXPECT_EQ(schermo().pixel(248, 149 + 15), rosso); // (0, -1)
}

// A number written with the other decimal separator: the message says which
// one this system reads. Inside the function numbers always take the point.
TEST_F(Form2Comandi, TheDecimalSeparatorToUseIsSaidInWords)
{
    digita("Text1", "x");
    digita("Text2", virgola() ? "-1.5" : "-1,5");
    clic("Command1");
    const QString atteso = virgola()
            ? "Errore 13: Tipo non corrispondente — a = \"-1.5\" — usare la virgola come "
              "separatore decimale, non il punto (-1,5)"
            : "Errore 13: Tipo non corrispondente — a = \"-1,5\" — usare il punto come "
              "separatore decimale, non la virgola (-1.5)";
    EXPECT_EQ(testo("LabelStato"), atteso);

    digita("Text1", "0,5*x");
    digita("Text2", "-1");
    clic("Command1");
    EXPECT_TRUE(testo("LabelStato")
                        .endsWith("nella funzione i numeri si scrivono sempre con il punto: 0.5*x"))
            << testo("LabelStato").toStdString();
}

TEST_F(Form2Comandi, AReopenedWindowStartsAfreshButKeepsTheCalculationValues)
{
    auto stato = std::make_shared<StatoCalcolo>();
    apri(stato);
    digita("Text1", "x");
    digita("Text2", "-3");
    scegli("Combo3", "st0.1");
    clic("Command1");
    clic("Command2");
    ASSERT_FALSE(righe("List1").isEmpty());

    apri(stato); // the old window is gone, a new one shares the values
    EXPECT_EQ(c<QLineEdit>("Text1")->text(), "");
    EXPECT_EQ(c<QLineEdit>("Text2")->text(), "-10");
    EXPECT_TRUE(righe("List1").isEmpty());
    EXPECT_EQ(testo("Label23"), "");
    EXPECT_EQ(schermo().pixel(816 + 6, 440 + 16), qRgb(0, 192, 0)); // Command2 green again
    EXPECT_EQ(stato->estremoA, -3);
    EXPECT_EQ(stato->passo, 0.1);
    // The root command applies the inputs the new window shows: no function yet.
    clic("Command9");
    EXPECT_EQ(testo("Label21"), "funzione non valida");
}

TEST_F(Form2Comandi, Command5EndsTheProgramAtOnce)
{
    QWidget titolo; // stands for the title window, still open
    titolo.show();
    bool chiusa = false;
    class Guardia : public QObject
    {
    public:
        explicit Guardia(bool &chiusa)
            : chiusa_(chiusa)
        { }
        bool eventFilter(QObject *, QEvent *e) override
        {
            chiusa_ |= e->type() == QEvent::Close;
            return false;
        }
        bool &chiusa_;
    } guardia(chiusa);
    form->installEventFilter(&guardia);
    titolo.installEventFilter(&guardia);

    QTimer::singleShot(0, form.get(), [this] { clic("Command5"); });
    QTimer sicurezza; // a failing test must not hang
    sicurezza.setSingleShot(true);
    QObject::connect(&sicurezza, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    sicurezza.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(titolo.isVisible());
    EXPECT_FALSE(chiusa); // no window was asked to close
}

} // namespace
} // namespace zelvo
