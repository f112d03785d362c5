// "Studio della funzione" as a user reaches and reads it: Ctrl+T or the
// graph's menu, the features table, the chart, the notes, the marks on the
// graph, and the table copied and saved.
#include "ui/FormStudio.h"
#include "tests/ui/FinestraDiProva.h"
#include "tests/ui/LeggiPdf.h"
#include "tests/ui/RispostaAlDialogo.h"
#include "ui/FoglioStudio.h"
#include "ui/ImmagineGrafico.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

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

    // The features table, one "part | feature | x | y | description" a row.
    static QStringList tabella(FormStudio *s)
    {
        const QAbstractItemModel *m = in<QTableView>(s, "TabellaStudio")->model();
        QStringList righe;
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList celle;
            for (int k = 0; k < m->columnCount(); ++k)
                celle << m->index(r, k).data().toString();
            righe << celle.join(" | ");
        }
        return righe;
    }

    // The chart: the header of breakpoints, then each row's cells, "|" between.
    static QStringList schema(FormStudio *s)
    {
        const QAbstractItemModel *m = in<QTableView>(s, "SchemaStudio")->model();
        QStringList righe;
        QStringList celle;
        for (int k = 0; k < m->columnCount(); ++k)
            celle << m->headerData(k, Qt::Horizontal).toString();
        righe << celle.join('|');
        for (int r = 0; r < m->rowCount(); ++r) {
            celle = {m->headerData(r, Qt::Vertical).toString() + ":"};
            for (int k = 0; k < m->columnCount(); ++k)
                celle << m->index(r, k).data().toString();
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
    // In the course's order, each column one thing: where, the value there,
    // the set or interval.
    EXPECT_EQ(tabella(s),
              (QStringList {
                      "dominio | dominio |  |  | [-3; 3]",
                      n(" | codominio |  |  | [-2.25; 6.75]"),
                      "simmetrie | parità |  |  | pari: f(-x) = f(x) nell'intervallo [-3; 3]",
                      n("intersezioni con gli assi | con l'asse y | 0 | -2.25 | "),
                      n(" | con l'asse x (zero) | -1.5 | 0 | "),
                      n(" | con l'asse x (zero) | 1.5 | 0 | "),
                      n("segno | positiva |  |  | [-3; -1.5)"),
                      n(" | negativa |  |  | (-1.5; 1.5)"),
                      n(" | positiva |  |  | (1.5; 3]"),
                      "limiti e asintoti | limite per x → -∞ | -∞ | +∞ | ",
                      " | limite per x → +∞ | +∞ | +∞ | ",
                      "derivata prima | decrescente |  |  | [-3; 0)",
                      " | crescente |  |  | (0; 3]",
                      n(" | minimo relativo | 0 | -2.25 | "),
                      n(" | massimo assoluto | 3 | 6.75 | "),
                      n(" | minimo assoluto | 0 | -2.25 | "),
                      "derivata seconda | concava verso l'alto |  |  | [-3; 3]",
              }));
    EXPECT_EQ(schema(s),
              (QStringList {
                      n("-3||-1.5||0||1.5||3"),
                      "segno di f:||+|0|−||−|0|+|",
                      "crescenza:||↘||↘|min|↗||↗|",
                      "concavità:||∪||∪||∪||∪|",
              }));
    EXPECT_TRUE(in<QLabel>(s, "LabelNote")->isHidden());
    QStringList colonne;
    for (int k = 0; k < 5; ++k)
        colonne << in<QTableView>(s, "TabellaStudio")
                           ->model()
                           ->headerData(k, Qt::Horizontal)
                           .toString();
    EXPECT_EQ(colonne, (QStringList {"parte", "caratteristica", "x", "y", "descrizione"}));

    // The graph is traced as "Grafico" traces it.
    EXPECT_EQ(schermo().pixel(248, 149 + 34), rosso); // (0, -2.25)
}

// A pole, a jump and a flat stretch: the chart says where f is not
// defined, the notes say what the table cannot.
TEST_F(FormStudioTest, WhereFIsNotDefinedAndTheNotes)
{
    FormStudio *s = studia("1/(x-2)", "-3", "3");
    ASSERT_NE(s, nullptr);
    // Where f is not defined the value is ∄, an infinite limit is ±∞: no
    // cell is left blank where one of them is meant.
    EXPECT_EQ(tabella(s),
              (QStringList {
                      "dominio | dominio |  |  | [-3; 2) ∪ (2; 3]",
                      n(" | codominio |  |  | (-∞; -0.2] ∪ [1; +∞)"),
                      "simmetrie | parità |  |  | né pari né dispari nell'intervallo [-3; 3]",
                      n("intersezioni con gli assi | con l'asse y | 0 | -0.5 | "),
                      "segno | negativa |  |  | [-3; 2)",
                      " | positiva |  |  | (2; 3]",
                      "limiti e asintoti | asintoto verticale | 2 | ∄ | x = 2",
                      " | limite per x → 2⁻ | 2 | -∞ | ",
                      " | limite per x → 2⁺ | 2 | +∞ | ",
                      " | limite per x → -∞ | -∞ | 0 | ",
                      " | asintoto orizzontale | -∞ |  | y = 0",
                      " | limite per x → +∞ | +∞ | 0 | ",
                      " | asintoto orizzontale | +∞ |  | y = 0",
                      "derivata prima | decrescente |  |  | [-3; 2)",
                      " | decrescente |  |  | (2; 3]",
                      " | estremo superiore | 2 | +∞ | non raggiunto: nessun massimo assoluto",
                      " | estremo inferiore | 2 | -∞ | non raggiunto: nessun minimo assoluto",
                      "derivata seconda | concava verso il basso |  |  | [-3; 2)",
                      " | concava verso l'alto |  |  | (2; 3]",
              }));
    EXPECT_EQ(schema(s),
              (QStringList {
                      "-3||2||3",
                      "segno di f:||−|∄|+|",
                      "crescenza:||↘|∄|↘|",
                      "concavità:||∩|∄|∪|",
              }));

    // The same window shows the next study.
    EXPECT_EQ(studia("Int(x)", "-2", "2"), s);
    EXPECT_EQ(tabella(s).first(), "dominio | dominio |  |  | [-2; 2]");
    EXPECT_TRUE(
            tabella(s).contains(" | salto | 1 | 1 | limiti sinistro e destro finiti e diversi"));
    EXPECT_TRUE(tabella(s).contains(" | limite per x → 1⁻ | 1 | 0 | "));
    EXPECT_FALSE(in<QLabel>(s, "LabelNote")->isHidden());
    EXPECT_EQ(in<QLabel>(s, "LabelNote")->text(),
              "f vale 0 su tutto l'intervallo da x = 0 a x = 1: ne è mostrato l'inizio come zero");

    // At the edge of its domain f may be defined: Sqr(4-x^2) is 0 at ±2.
    EXPECT_EQ(studia("Sqr(4-x^2)", "-3", "3"), s);
    EXPECT_EQ(schema(s),
              (QStringList {
                      "-3||-2||0||2||3",
                      "segno di f:|∄|∄|0|+||+|0|∄|∄",
                      "crescenza:|∄|∄||↗|max|↘||∄|∄",
                      "concavità:|∄|∄||∩||∩||∄|∄",
              }));
    EXPECT_EQ(tabella(s).first(), "dominio | dominio |  |  | [-2; 2]");
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
    EXPECT_TRUE(tabella(form->formStudio()).contains(" | con l'asse x (zero) | -1 | 0 | "));
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
    EXPECT_EQ(in<QTableView>(s, "TabellaStudio")
                      ->model()
                      ->index(4, 1) // the first zero
                      .data(Qt::ForegroundRole)
                      .value<QColor>()
                      .rgb(),
              blu);

    clic("Command1");
    EXPECT_NE(pixel(zeroX + 60, zeroY - 60), blu);
    EXPECT_NE(pixel(minX + 60, minY - 60), verde);
}

TEST_F(FormStudioTest, TheTableIsCopiedAndSavedLikeTheLists)
{
    FormStudio *s = studia("x^2-2.25", "-3", "3");
    ASSERT_NE(s, nullptr);
    auto *t = in<QTableView>(s, "TabellaStudio");
    QStringList azioni;
    for (const QAction *a : t->actions())
        azioni << a->text();
    EXPECT_EQ(azioni, (QStringList {"Copia righe", "Copia tabella", "Salva tabella…"}));
    EXPECT_EQ(t->contextMenuPolicy(), Qt::ActionsContextMenu);

    QApplication::processEvents();
    const auto clicRiga = [t](int riga, Qt::KeyboardModifiers tasti = {}) {
        QTest::mouseClick(t->viewport(), Qt::LeftButton, tasti,
                          t->visualRect(t->model()->index(riga, 1)).center());
    };
    clicRiga(14);
    clicRiga(5, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              n("\tcon l'asse x (zero)\t1.5\t0\t\n\tmassimo assoluto\t3\t6.75\t\n"));

    t->findChild<QAction *>("CopiaTabella")->trigger();
    const QString copia = QApplication::clipboard()->text();
    EXPECT_TRUE(
            copia.startsWith(n("parte\tcaratteristica\tx\ty\tdescrizione\n"
                               "dominio\tdominio\t\t\t[-3; 3]\n\tcodominio\t\t\t[-2.25; 6.75]\n")))
            << copia.toStdString();
    EXPECT_EQ(copia.count('\n'), 18);

    QTemporaryDir cartella;
    const QString file = cartella.filePath("studio mio.csv");
    RispostaAlDialogo risposta(file);
    t->findChild<QAction *>("SalvaTabella")->trigger();
    EXPECT_TRUE(risposta.proposta().endsWith("/studio.csv")) << risposta.proposta().toStdString();
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString atteso = virgola()
            ? "parte;caratteristica;x;y;descrizione\ndominio;dominio;;;[-3; 3]\n"
              ";codominio;;;[-2,25; 6,75]\n"
            : "parte,caratteristica,x,y,descrizione\ndominio,dominio,,,[-3; 3]\n"
              ",codominio,,,[-2.25; 6.75]\n";
    const QString letto = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(letto.startsWith(atteso)) << letto.toStdString();
    EXPECT_EQ(letto.count('\n'), 18);
}

// The guide's whole studies show the window's table as a Markdown table,
// followed by the command that studies the same function: each is what
// the window shows today.
TEST_F(FormStudioTest, TheGuidesWholeStudiesAreWhatTheWindowShows)
{
    QFile guida(QStringLiteral(ZELVO_SORGENTI "/docs/guida.md"));
    ASSERT_TRUE(guida.open(QIODevice::ReadOnly));
    const QStringList righe = QString::fromUtf8(guida.readAll()).split('\n');
    static const QRegularExpression comando(
            QStringLiteral(R"re(^\$ zelvo --funzione "([^"]+)" -a (\S+) -b (\S+) --studio$)re"));
    int tabelle = 0;
    for (qsizetype i = 0; i < righe.size(); ++i) {
        if (righe[i] != QStringLiteral("| parte | caratteristica | x | y | descrizione |"))
            continue;
        QStringList mostrate;
        qsizetype k = i + 2;
        for (; k < righe.size() && righe[k].startsWith('|'); ++k) {
            QStringList celle = righe[k].split('|');
            celle = celle.mid(1, celle.size() - 2);
            for (QString &c : celle)
                c = c.trimmed();
            // The guide is Italian; under the C locale the window writes a point.
            mostrate << (virgola() ? celle.join(" | ") : celle.join(" | ").replace(',', '.'));
        }
        QRegularExpressionMatch m;
        while (k < righe.size() && !(m = comando.match(righe[k])).hasMatch())
            ++k;
        ASSERT_TRUE(m.hasMatch()) << "no command after the table at line " << i + 1;
        SCOPED_TRACE(m.captured(1).toStdString());
        FormStudio *s = studia(m.captured(1), m.captured(2), m.captured(3));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(tabella(s), mostrate);
        ++tabelle;
    }
    EXPECT_EQ(tabelle, 2);
}

// The study sheet: "Esporta lo studio (PDF)…" proposes studio.pdf and
// writes the study shown, with the graph it was made on though the main
// window has moved on; "Stampa…" opens the print dialog on A4; a file that
// cannot be written is said in the notes.
TEST_F(FormStudioTest, TheSheetIsExportedAsAPdfAndPrinted)
{
    FormStudio *s = studia("1/x", "-2", "2");
    ASSERT_NE(s, nullptr);
    QStringList pulsanti;
    for (const char *nome : {"PulsanteSegna", "PulsantePdf", "PulsanteStampa"})
        pulsanti << in<QPushButton>(s, nome)->text();
    EXPECT_EQ(pulsanti,
              (QStringList {"Segna i punti sul grafico", "Esporta lo studio (PDF)…", "Stampa…"}));
    digita("Text1", "x^2");
    clic("Command1");

    QTemporaryDir cartella;
    const QString file = cartella.filePath("foglio di 1 su x.pdf");
    {
        RispostaAlDialogo risposta(file);
        QTest::mouseClick(in<QPushButton>(s, "PulsantePdf"), Qt::LeftButton);
        EXPECT_TRUE(risposta.proposta().endsWith("/studio.pdf"))
                << risposta.proposta().toStdString();
    }
    EXPECT_EQ(infoPdf(file).formato, "595 x 842 pts (A4)");
    const QString testo = testoPdf(file);
    for (const char *riga : {"Studio della funzione", "Y = 1/x", "a = -2 +b = 2",
                             "asintoto verticale +0", "negativa +\\[-2; 0\\)", "Pagina 1 di"})
        EXPECT_TRUE(testo.contains(QRegularExpression(QString::fromUtf8(riga))))
                << riga << "\n"
                << testo.toStdString();
    // The graph is 1/x's: red at (0.5; 2), where x^2 is not.
    const QImage grafico = s->foglio().grafico.immagine;
    const auto rossoVicino = [&grafico](double x, double y) {
        // Twice the window's pixels: 15 twips a pixel, 322 twips a unit in x, 224 in y.
        const int px = static_cast<int>(2 * (3720 - 500 + x * 322) / 15.0);
        const int py = static_cast<int>(2 * (2240 - y * 224) / 15.0);
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (grafico.pixel(px + dx, py + dy) == rosso)
                    return true;
        return false;
    };
    EXPECT_EQ(grafico.size(), 2 * rettangoloGrafico().size());
    EXPECT_TRUE(rossoVicino(0.5, 2));
    EXPECT_FALSE(rossoVicino(0.5, 0.25));

    // Printed as a user prints to a file: the dialog's last printer is
    // "Print to File (PDF)" (never a real printer: its file name is enabled).
    const QString stampato = cartella.filePath("stampato.pdf");
    QString titolo;
    QPageSize::PageSizeId carta = QPageSize::Custom;
    QTimer attesa;
    attesa.setInterval(5);
    QObject::connect(&attesa, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!d)
            return;
        attesa.stop();
        titolo = d->windowTitle();
        carta = d->printer()->pageLayout().pageSize().id();
        auto *stampanti = d->findChild<QComboBox *>("printers");
        auto *nome = d->findChild<QLineEdit *>("filename");
        if (stampanti && nome) {
            stampanti->setCurrentIndex(stampanti->count() - 1);
            if (nome->isEnabled()) {
                nome->setText(stampato);
                d->accept();
                return;
            }
        }
        d->reject();
    });
    attesa.start();
    QTest::mouseClick(in<QPushButton>(s, "PulsanteStampa"), Qt::LeftButton);
    EXPECT_EQ(titolo, "Stampa lo studio");
    EXPECT_EQ(carta, QPageSize::A4);
    ASSERT_TRUE(QFile::exists(stampato));
    EXPECT_EQ(infoPdf(stampato).formato, "595 x 842 pts (A4)");
    EXPECT_TRUE(testoPdf(stampato).contains(QRegularExpression("asintoto verticale +0")));

    RispostaAlDialogo risposta(cartella.filePath("non esiste/studio.pdf"));
    QTest::mouseClick(in<QPushButton>(s, "PulsantePdf"), Qt::LeftButton);
    const QString nota = in<QLabel>(s, "LabelNote")->text();
    EXPECT_TRUE(nota.startsWith("Studio non esportato in ") && nota.contains("studio.pdf: "))
            << nota.toStdString();
}

// Esc stops a study as it stops the commands: "Interrotto", and no window
// shows a study that did not end.
TEST_F(FormStudioTest, EscStopsTheStudy)
{
    // Sin(1/x) spends the study's whole budget, each evaluation a long sum:
    // the study outlasts the press of Esc on any machine.
    QString somma = "Sin(1/x)";
    for (int k = 0; k < 40000; ++k)
        somma += "+x";
    const auto studiaEInterrompi = [&] {
        c<QLineEdit>("Text1")->setText(somma); // pasted: typing it would take minutes
        QString duranteLoStudio;
        QTimer::singleShot(900, form.get(), [&] {
            duranteLoStudio = testo("LabelStato");
            QTest::keyClick(form.get(), Qt::Key_Escape);
        });
        QTest::keyClick(c<QLineEdit>("Text1"), Qt::Key_T, Qt::ControlModifier);
        EXPECT_TRUE(duranteLoStudio.startsWith("Calcolo in corso: "))
                << duranteLoStudio.toStdString();
        EXPECT_EQ(testo("LabelStato"), "Interrotto");
    };
    studiaEInterrompi();
    EXPECT_EQ(form->formStudio(), nullptr);

    // An open window keeps the study it shows, no longer the graph's.
    FormStudio *s = studia("x^2-1", "-1", "1");
    ASSERT_NE(s, nullptr);
    studiaEInterrompi();
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(in<QLabel>(s, "LabelFunzione")->text(), "Y = x^2-1    a = -1    b = 1");
    EXPECT_FALSE(in<QPushButton>(s, "PulsanteSegna")->isEnabled());
}

// 200,000 rows show at once and stay usable: every column as wide as its
// widest text, however far down it is, the last row reached and copied.
// The intervals are nested so that the chart, 800,003 columns wide, is
// quick to build too.
TEST(FormStudioGrande, EveryRowIsShownAndCopied)
{
    Studio studio;
    studio.eseguito = true;
    for (int k = 200000; k >= 1; --k)
        studio.crescente.push_back({-k * 1.5, k * 1.5});
    studio.concavaBasso.push_back({0, 1});
    FormStudio s([](const Studio &, const Scuola &) {}, '.');
    s.mostra(studio, {}, "x", -300000, 300000);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));

    auto *t = s.findChild<QTableView *>("TabellaStudio");
    const QAbstractItemModel *m = t->model();
    ASSERT_EQ(m->rowCount(), 200003); // the domain and range rows first
    EXPECT_EQ(m->index(2, 4).data(), "(-300000; 300000)");
    EXPECT_EQ(m->index(200002, 1).data(), "concava verso il basso");
    for (const int r : {0, 1, 2, 200001, 200002}) // the widest of each column
        for (int k = 0; k < 5; ++k)
            EXPECT_LE(t->sizeHintForIndex(m->index(r, k)).width(), t->columnWidth(k))
                    << r << ", " << k;

    t->scrollToBottom();
    QApplication::processEvents();
    const QModelIndex ultima = t->indexAt({5, t->viewport()->height() - 3});
    EXPECT_EQ(ultima.row(), 200002);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(ultima).center());
    QApplication::clipboard()->clear();
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "derivata seconda\tconcava verso il basso\t\t\t(0; 1)\n");

    // The chart: each column as wide as its breakpoint and its signs.
    auto *schema = s.findChild<QTableView *>("SchemaStudio");
    // Breakpoints: the 400,000 ends (a and b among them), 0 and 1.
    ASSERT_EQ(schema->model()->columnCount(), 800003);
    EXPECT_EQ(schema->model()->headerData(400000, Qt::Horizontal), "0");
    EXPECT_EQ(schema->model()->headerData(800002, Qt::Horizontal), "300000");
    for (const int k : {0, 1, 399999, 400000, 400001, 400002, 800002}) {
        EXPECT_LE(schema->horizontalHeader()->sectionSizeHint(k), schema->columnWidth(k)) << k;
        for (int r = 0; r < 3; ++r)
            EXPECT_LE(schema->sizeHintForIndex(schema->model()->index(r, k)).width(),
                      schema->columnWidth(k))
                    << r << ", " << k;
    }
}

// A function of 40,001 terms: the label shows what fits, the interval
// whole, the function cut with "…", and all of it in the tooltip; the
// window keeps its width, and a wider window shows more.
TEST(FormStudioGrande, ALongFunctionIsElided)
{
    QString somma = "x";
    for (int k = 0; k < 40000; ++k)
        somma += "+x";
    Studio studio;
    studio.eseguito = true;
    studio.zeri = {0};
    FormStudio s([](const Studio &, const Scuola &) {}, '.');
    s.mostra(studio, {}, somma.toStdString(), -1, 1);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));

    auto *etichetta = s.findChild<QLabel *>("LabelFunzione");
    const QString intervallo = "    a = -1    b = 1";
    EXPECT_EQ(s.width(), 760);
    EXPECT_LE(s.minimumSizeHint().width(), 760);
    const QString corta = etichetta->text();
    EXPECT_TRUE(corta.startsWith("Y = x+x+x+")) << corta.toStdString();
    EXPECT_TRUE(corta.endsWith("…" + intervallo)) << corta.toStdString();
    EXPECT_LE(etichetta->fontMetrics().horizontalAdvance(corta), etichetta->width());
    EXPECT_EQ(etichetta->toolTip(), "Y = " + somma + intervallo);

    // Drawn whole: the ink ends with the text's last digit, inside the label.
    const QImage immagine = etichetta->grab().toImage();
    int ultimaColonna = -1;
    for (int x = 0; x < immagine.width(); ++x)
        for (int y = 0; y < immagine.height(); ++y)
            if (qGray(immagine.pixel(x, y)) < 128)
                ultimaColonna = x;
    const int fine = etichetta->fontMetrics().horizontalAdvance(corta);
    EXPECT_GE(ultimaColonna, fine - 8);
    EXPECT_LT(ultimaColonna, fine);

    s.resize(1200, s.height());
    QApplication::processEvents();
    EXPECT_GT(etichetta->text().size(), corta.size());
    EXPECT_TRUE(etichetta->text().endsWith("…" + intervallo));
}

} // namespace
} // namespace zelvo
