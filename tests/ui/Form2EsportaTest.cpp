// Results taken out of the main window: the graph's picture and the lists'
// rows on the clipboard or in a file, and Enter as a press of "Grafico".
#include "tests/ui/FinestraDiProva.h"
#include "tests/ui/RispostaAlDialogo.h"
#include "ui/ImmagineGrafico.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace zelvo {
namespace {

using Form2Esporta = FinestraDiProva;

QStringList testiAzioni(const QList<QAction *> &azioni)
{
    QStringList testi;
    for (const QAction *a : azioni)
        testi << a->text();
    return testi;
}

QImage comeArgb(const QImage &immagine)
{
    return immagine.convertToFormat(QImage::Format_ARGB32);
}

TEST_F(Form2Esporta, TheGraphGoesToTheClipboardAndToAPngFileExactlyAsShown)
{
    digita("Text1", "Sin(x)*3");
    clic("Command1");
    const QImage mostrata = comeArgb(schermo().copy(rettangoloGrafico()));
    ASSERT_EQ(mostrata.size(), QSize(431, 300));

    // A right click inside the frame offers both actions; outside, nothing.
    QStringList menu;
    auto apriMenu = [&](QPoint dove) {
        menu.clear();
        QTimer::singleShot(0, [&] {
            if (auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                menu = testiAzioni(m->actions());
                m->close();
            }
        });
        QContextMenuEvent evento(QContextMenuEvent::Mouse, dove, form->mapToGlobal(dove));
        QApplication::sendEvent(form.get(), &evento);
        QApplication::processEvents();
    };
    apriMenu(QPoint(100, 100));
    EXPECT_EQ(menu,
              (QStringList {"Copia grafico", "Salva grafico…", "", "Studio della funzione…"}));
    apriMenu(QPoint(700, 100));
    EXPECT_TRUE(menu.isEmpty());

    QApplication::clipboard()->clear();
    form->findChild<QAction *>("CopiaGrafico")->trigger();
    EXPECT_EQ(comeArgb(QApplication::clipboard()->image()), mostrata);

    QTemporaryDir cartella;
    const QString file = cartella.filePath("mio grafico.png");
    RispostaAlDialogo risposta(file);
    form->findChild<QAction *>("SalvaGrafico")->trigger();
    EXPECT_TRUE(risposta.proposta().endsWith("/grafico.png")) << risposta.proposta().toStdString();
    QImage salvata;
    ASSERT_TRUE(salvata.load(file, "PNG"));
    EXPECT_EQ(comeArgb(salvata), mostrata);
}

TEST_F(Form2Esporta, RowsAreSelectedAsInAnyListAndCopied)
{
    digita("Text1", "x^2");
    digita("Text2", "-1");
    digita("Text3", "1");
    scegli("Combo3", "st0.1");
    clic("Command2");
    auto *lista = c<QListView>("List1");
    EXPECT_EQ(testiAzioni(lista->actions()),
              (QStringList {"Copia righe", "Copia tabella", "Salva tabella…"}));
    EXPECT_EQ(lista->contextMenuPolicy(), Qt::ActionsContextMenu);
    QApplication::processEvents();

    auto clicRiga = [&](int riga, Qt::KeyboardModifiers tasti = {}) {
        const QModelIndex i = lista->model()->index(riga, 0);
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, tasti, lista->visualRect(i).center());
    };
    const QStringList r = righe("List1");
    clicRiga(1);
    clicRiga(3, Qt::ShiftModifier);
    clicRiga(6, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(lista, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              r[1] + "\n" + r[2] + "\n" + r[3] + "\n" + r[6] + "\n");

    QTest::keyClick(lista, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(lista, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), r.join('\n') + "\n");

    // The whole table, two columns for a spreadsheet, whatever is selected.
    digita("Text1", "Sqr(x)");
    digita("Text2", n("-0.2"));
    digita("Text3", n("0.2"));
    clic("Command2");
    clicRiga(0);
    lista->findChild<QAction *>("CopiaTabella")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              n("-0.2\tnon definita\n-0.1\tnon definita\n0\t0\n0.1\t0.316227766016838\n"
                "0.2\t0.447213595499958\n"));
}

// An empty list has nothing to save: no dialog, and the status line says so.
TEST_F(Form2Esporta, AnEmptyListSaysThereIsNothingToSave)
{
    QTemporaryDir cartella;
    RispostaAlDialogo risposta(cartella.filePath("vuota.csv"));
    c<QListView>("List2")->findChild<QAction *>("SalvaTabella")->trigger();
    EXPECT_EQ(risposta.proposta(), "");
    EXPECT_FALSE(QFile::exists(cartella.filePath("vuota.csv")));
    EXPECT_EQ(testo("LabelStato"),
              "Lista vuota: niente da salvare; premere prima il suo pulsante per riempirla");
}

// A file that cannot be written is not pretended saved: the status line
// names it and says why, and nothing is left behind.
TEST_F(Form2Esporta, ATableThatCannotBeWrittenIsToldWithItsReason)
{
    digita("Text1", "x");
    clic("Command3");
    ASSERT_FALSE(righe("List2").isEmpty());
    QTemporaryDir cartella;
    const QString file = cartella.filePath("manca/valori.csv");
    RispostaAlDialogo risposta(file);
    c<QListView>("List2")->findChild<QAction *>("SalvaTabella")->trigger();
    const QString stato = testo("LabelStato");
    EXPECT_TRUE(stato.startsWith("Tabella non salvata in ")) << stato.toStdString();
    const QString nome = "/manca/valori.csv: ";
    ASSERT_TRUE(stato.contains(nome)) << stato.toStdString();
    EXPECT_FALSE(stato.section(nome, 1).isEmpty()) << "the reason is given";
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(Form2Esporta, TheTableIsSavedAsCsvInTheLocalesConvention)
{
    digita("Text1", "Sqr(x)");
    digita("Text2", n("-10.1"));
    digita("Text3", n("10.1"));
    scegli("Combo3", "st0.0001");
    clic("Command6");
    const QStringList r = righe("List4");
    ASSERT_EQ(r.size(), 202'001);

    QTemporaryDir cartella;
    const QString file = cartella.filePath("valori.csv");
    RispostaAlDialogo risposta(file);
    c<QListView>("List4")->findChild<QAction *>("SalvaTabella")->trigger();
    EXPECT_TRUE(risposta.proposta().endsWith("/tabella.csv")) << risposta.proposta().toStdString();

    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString testo = QString::fromUtf8(csv.readAll());
    EXPECT_FALSE(testo.contains('\r'));
    const QStringList linee = testo.split('\n');
    ASSERT_EQ(linee.size(), 202'003); // the header, the rows, the empty text after the last "\n"
    EXPECT_EQ(linee.back(), "");
    const QString campi = virgola() ? ";" : ",";
    EXPECT_EQ(linee[0], "x" + campi + "y");
    EXPECT_EQ(linee[1], n("-10.1") + campi); // undefined: an empty y
    EXPECT_EQ(r.back(), n("x = 10.1   y= 3.17804971641414"));
    EXPECT_EQ(linee[202'001], n("10.1") + campi + n("3.17804971641414"));
    // Every line is its row: x and y exactly as the row shows them.
    for (int k = 0; k < r.size(); k += 997) {
        QString atteso = r[k].mid(4);
        atteso.replace("   y= ", campi).replace("non definita", "");
        ASSERT_EQ(linee[k + 1], atteso) << k;
    }
}

TEST_F(Form2Esporta, EnterInAnyInputPressesGrafico)
{
    for (const char *ingresso : {"Text1", "Text2", "Text3", "Combo1", "Combo2", "Combo3"}) {
        SCOPED_TRACE(ingresso);
        apri(std::make_shared<StatoCalcolo>());
        digita("Text1", "x");
        ASSERT_NE(schermo().pixel(248, 149), rosso);
        QWidget *w = c(ingresso);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            w = combo->lineEdit();
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(schermo().pixel(248, 149), rosso);
        EXPECT_EQ(testo("Label23"), n("0.001"));
    }
}

} // namespace
} // namespace zelvo
