// "Studio della funzione" as a user reaches and reads it: Ctrl+T or the
// graph's menu, the features table, the chart, the notes, the marks on the
// graph, and the table copied and saved.
#include "tests/ui/FinestraDiProva.h"
#include "tests/ui/RispostaAlDialogo.h"
#include "ui/FormStudio.h"
#include "ui/Twips.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelvo {
namespace {

class FormStudioTest : public FinestraDiProva
{
protected:
    // Types f, a and b and presses Ctrl+T where the user types.
    FormStudio *studia(const QString &f, const QString &a, const QString &b)
    {
        digita("Text1", f);
        digita("Text2", a);
        digita("Text3", b);
        QTest::keyClick(c<QLineEdit>("Text1"), Qt::Key_T, Qt::ControlModifier);
        return form->formStudio();
    }

    template<typename W = QWidget> static W *in(FormStudio *s, const char *nome)
    {
        auto *w = s->findChild<W *>(QString::fromUtf8(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }

    // The features table, one "kind | x | y" a row.
    static QStringList tabella(FormStudio *s)
    {
        const auto *t = in<QTableWidget>(s, "TabellaStudio");
        QStringList righe;
        for (int r = 0; r < t->rowCount(); ++r)
            righe << t->item(r, 0)->text() + " | " + t->item(r, 1)->text() + " | "
                            + t->item(r, 2)->text();
        return righe;
    }

    // The chart: the header of breakpoints, then each row's cells, "|" between.
    static QStringList schema(FormStudio *s)
    {
        const auto *t = in<QTableWidget>(s, "SchemaStudio");
        QStringList righe;
        QStringList celle;
        for (int k = 0; k < t->columnCount(); ++k)
            celle << t->horizontalHeaderItem(k)->text();
        righe << celle.join('|');
        for (int r = 0; r < t->rowCount(); ++r) {
            celle = {t->verticalHeaderItem(r)->text() + ":"};
            for (int k = 0; k < t->columnCount(); ++k)
                celle << t->item(r, k)->text();
            righe << celle.join('|');
        }
        return righe;
    }
};

// x^2 - 2.25 on -3..3: zeros at -1.5 and 1.5, the minimum -2.25 at 0, the
// maximum 6.75 at both ends (the rightmost is shown), concave up throughout.
TEST_F(FormStudioTest, CtrlTShowsEveryFeatureAndTheChart)
{
    EXPECT_EQ(testo("LabelStato"),
              "Scrivere f(x), a e b e premere \"Grafico\"; per lo studio della funzione: Ctrl+T "
              "o il tasto destro sul grafico");

    FormStudio *s = studia("x^2-2.25", "-3", "3");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->windowTitle(), "Studio della funzione");
    EXPECT_EQ(testo("LabelStato"), ""); // the hint gives way to the command's message
    EXPECT_EQ(in<QLabel>(s, "LabelFunzione")->text(), "Y = x^2-2.25    a = -3    b = 3");
    EXPECT_EQ(tabella(s), (QStringList {
                                  n("zero | -1.5 | "),
                                  n("zero | 1.5 | "),
                                  n("minimo relativo | 0 | -2.25"),
                                  n("massimo assoluto | 3 | 6.75"),
                                  n("minimo assoluto | 0 | -2.25"),
                                  n("positiva | -3 | -1.5"),
                                  n("positiva | 1.5 | 3"),
                                  n("negativa | -1.5 | 1.5"),
                                  n("crescente | 0 | 3"),
                                  n("decrescente | -3 | 0"),
                                  n("concava verso l'alto | -3 | 3"),
                          }));
    EXPECT_EQ(schema(s), (QStringList {
                                 n("-3||-1.5||0||1.5||3"),
                                 "segno di f:||+|0|−||−|0|+|",
                                 "crescenza:||↘||↘|min|↗||↗|",
                                 "concavità:||∪||∪||∪||∪|",
                         }));
    EXPECT_TRUE(in<QLabel>(s, "LabelNote")->isHidden());
    EXPECT_EQ(in<QTableWidget>(s, "TabellaStudio")->horizontalHeaderItem(1)->text(), "x / da");

    // The graph is traced as "Grafico" traces it.
    EXPECT_EQ(schermo().pixel(248, 149 + 34), rosso); // (0, -2.25)
}

// A pole, a jump and a flat stretch: the chart says where f is not
// defined, the notes say what the table cannot.
TEST_F(FormStudioTest, WhereFIsNotDefinedAndTheNotes)
{
    FormStudio *s = studia("1/(x-2)", "-3", "3");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(tabella(s), (QStringList {
                                  "non definita | 2 | 2",
                                  "asintoto verticale | 2 | ",
                                  "limite (sinistro; destro) | 2 | -inf; +inf",
                                  "estremo superiore (non raggiunto) | 2 | +inf",
                                  "estremo inferiore (non raggiunto) | 2 | -inf",
                                  "positiva | 2 | 3",
                                  "negativa | -3 | 2",
                                  "decrescente | -3 | 2",
                                  "decrescente | 2 | 3",
                                  "concava verso l'alto | 2 | 3",
                                  "concava verso il basso | -3 | 2",
                          }));
    EXPECT_EQ(schema(s), (QStringList {
                                 "-3||2||3",
                                 "segno di f:||−|∄|+|",
                                 "crescenza:||↘|∄|↘|",
                                 "concavità:||∩|∄|∪|",
                         }));

    // The same window shows the next study.
    EXPECT_EQ(studia("Int(x)", "-2", "2"), s);
    EXPECT_EQ(tabella(s).first(), "zero | 0 | ");
    EXPECT_TRUE(tabella(s).contains("salto | 1 | "));
    EXPECT_FALSE(in<QLabel>(s, "LabelNote")->isHidden());
    EXPECT_EQ(in<QLabel>(s, "LabelNote")->text(),
              "f vale 0 su tutto l'intervallo da x = 0 a x = 1: ne è mostrato l'inizio come zero");
}

// Inputs the graph refuses give no study: the status line says why.
TEST_F(FormStudioTest, RefusedInputsGiveNoStudy)
{
    EXPECT_EQ(studia("x", "due", "3"), nullptr);
    EXPECT_TRUE(testo("LabelStato").startsWith("Studio della funzione: intervallo non valido; "))
            << testo("LabelStato").toStdString();

    FormStudio *s = studia("x", "-1", "1");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(in<QPushButton>(s, "PulsanteSegna")->isEnabled());
    EXPECT_EQ(studia("x", "2", "1"), s);
    EXPECT_EQ(testo("LabelStato"),
              "Studio della funzione: a > b: nessun campione; a > b: nessun campione — a deve "
              "essere minore o uguale a b");
    EXPECT_FALSE(in<QPushButton>(s, "PulsanteSegna")->isEnabled()); // its study is another graph's
}

TEST_F(FormStudioTest, TheGraphsMenuOpensTheStudyToo)
{
    digita("Text1", "x^2-1");
    auto *azione = form->findChild<QAction *>("StudioFunzione");
    ASSERT_NE(azione, nullptr);
    EXPECT_EQ(azione->text(), "Studio della funzione…");
    EXPECT_EQ(azione->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    azione->trigger();
    ASSERT_NE(form->formStudio(), nullptr);
    EXPECT_EQ(tabella(form->formStudio()).first(), "zero | -1 | ");
}

// The marks lie over the traced graph, in the colours of their rows, and go
// with the next graph.
TEST_F(FormStudioTest, ThePointsAreMarkedOnTheGraphUntilTheNextOne)
{
    FormStudio *s = studia("x^2-2.25", "-3", "3");
    ASSERT_NE(s, nullptr);
    const auto pixel = [this](int twipsX, int twipsY) {
        return schermo().pixel(pixelDaTwips(twipsX), pixelDaTwips(twipsY));
    };
    // The upper right arm of each cross: 60 twips right of and above the point.
    const int zeroX = 3720 - 483, zeroY = 2240; // (-1.5, 0)
    const int minX = 3720, minY = 2240 + 504; // (0, -2.25)
    const QRgb blu = qRgb(0, 0, 192), verde = qRgb(0, 128, 0);
    ASSERT_NE(pixel(zeroX + 60, zeroY - 60), blu);

    QTest::mouseClick(in<QPushButton>(s, "PulsanteSegna"), Qt::LeftButton);
    EXPECT_EQ(pixel(zeroX + 60, zeroY - 60), blu);
    EXPECT_EQ(pixel(zeroX - 60, zeroY + 60), blu);
    EXPECT_EQ(pixel(minX + 60, minY - 60), verde);
    EXPECT_EQ(in<QTableWidget>(s, "TabellaStudio")->item(0, 0)->foreground().color().rgb(), blu);

    clic("Command1");
    EXPECT_NE(pixel(zeroX + 60, zeroY - 60), blu);
    EXPECT_NE(pixel(minX + 60, minY - 60), verde);
}

TEST_F(FormStudioTest, TheTableIsCopiedAndSavedLikeTheLists)
{
    FormStudio *s = studia("x^2-2.25", "-3", "3");
    ASSERT_NE(s, nullptr);
    auto *t = in<QTableWidget>(s, "TabellaStudio");
    QStringList azioni;
    for (const QAction *a : t->actions())
        azioni << a->text();
    EXPECT_EQ(azioni, (QStringList {"Copia righe", "Copia tabella", "Salva tabella…"}));
    EXPECT_EQ(t->contextMenuPolicy(), Qt::ActionsContextMenu);

    QApplication::processEvents();
    const auto clicRiga = [t](int riga, Qt::KeyboardModifiers tasti = {}) {
        QTest::mouseClick(t->viewport(), Qt::LeftButton, tasti,
                          t->visualItemRect(t->item(riga, 1)).center());
    };
    clicRiga(3);
    clicRiga(1, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              n("zero\t1.5\t\nmassimo assoluto\t3\t6.75\n"));

    t->findChild<QAction *>("CopiaTabella")->trigger();
    const QString copia = QApplication::clipboard()->text();
    EXPECT_TRUE(copia.startsWith(n("caratteristica\tx / da\ty / a\nzero\t-1.5\t\nzero\t1.5\t\n")))
            << copia.toStdString();
    EXPECT_EQ(copia.count('\n'), 12);

    QTemporaryDir cartella;
    const QString file = cartella.filePath("studio mio.csv");
    RispostaAlDialogo risposta(file);
    t->findChild<QAction *>("SalvaTabella")->trigger();
    EXPECT_TRUE(risposta.proposta().endsWith("/studio.csv")) << risposta.proposta().toStdString();
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString atteso = virgola()
            ? "caratteristica;x / da;y / a\nzero;-1,5;\nzero;1,5;\nminimo relativo;0;-2,25\n"
              "massimo assoluto;3;6,75\nminimo assoluto;0;-2,25\npositiva;-3;-1,5\n"
              "positiva;1,5;3\nnegativa;-1,5;1,5\ncrescente;0;3\ndecrescente;-3;0\n"
              "concava verso l'alto;-3;3\n"
            : "caratteristica,x / da,y / a\nzero,-1.5,\nzero,1.5,\nminimo relativo,0,-2.25\n"
              "massimo assoluto,3,6.75\nminimo assoluto,0,-2.25\npositiva,-3,-1.5\n"
              "positiva,1.5,3\nnegativa,-1.5,1.5\ncrescente,0,3\ndecrescente,-3,0\n"
              "concava verso l'alto,-3,3\n";
    EXPECT_EQ(QString::fromUtf8(csv.readAll()), atteso);
}

} // namespace
} // namespace zelvo
