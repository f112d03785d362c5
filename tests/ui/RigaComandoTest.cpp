// The command line run as a user runs it from a script: the built program, as
// a process, with no display. What it prints is compared with what the main
// window shows for the same inputs, driven offscreen in this process.
#include "tests/ui/FinestraDiProva.h"
#include "tests/ui/LeggiPdf.h"
#include "ui/ImmagineGrafico.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zelvo {
namespace {

const QString kAvvisoMeno = QStringLiteral(
        "Attenzione: in questo linguaggio -x^2 vale (−x)², non −x²: per −x² si scrive -(x^2) o "
        "0-x^2");

struct Uscita
{
    int stato = -1;
    QString out, err;
};

// The program with `argomenti`, without a display of any kind, in this
// process's locale.
Uscita zelvo(const QStringList &argomenti)
{
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char *variabile : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ambiente.remove(QString::fromLatin1(variabile));
    QProcess processo;
    processo.setProcessEnvironment(ambiente);
    processo.start(QStringLiteral(ZELVO_PROGRAMMA), argomenti);
    EXPECT_TRUE(processo.waitForFinished(60000)) << argomenti.join(' ').toStdString();
    EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
    return {processo.exitCode(), QString::fromUtf8(processo.readAllStandardOutput()),
            QString::fromUtf8(processo.readAllStandardError())};
}

// The --studio lines of the special points and the intervals: the output
// without the school's lines that come first (dominio ... tangente_flesso).
QString senzaScuola(const QString &out)
{
    static const QStringList chiavi
            = {"dominio",        "codominio",       "intersezione_y",       "parita",
               "periodo",        "limite_infinito", "asintoto_orizzontale", "asintoto_obliquo",
               "tangente_flesso"};
    QString resto;
    for (const QString &riga : out.split('\n', Qt::SkipEmptyParts))
        if (!chiavi.contains(riga.section(" = ", 0, 0)))
            resto += riga + '\n';
    return resto;
}

// The main window beside the program, for the same inputs.
class RigaComando : public FinestraDiProva
{
protected:
    // The window's inputs, as the command line's options give them.
    void inserisci(const QString &funzione, const QString &a, const QString &b, const char *passo,
                   const char *scalaX = "", const char *scalaY = "")
    {
        c<QLineEdit>("Text1")->setText(funzione);
        c<QLineEdit>("Text2")->setText(a);
        c<QLineEdit>("Text3")->setText(b);
        for (const auto &[combo, voce] :
             {std::pair {"Combo3", passo}, {"Combo1", scalaX}, {"Combo2", scalaY}}) {
            auto *box = c<QComboBox>(combo);
            box->setCurrentIndex(box->findText(QString::fromUtf8(voce), Qt::MatchExactly));
        }
    }
};

// x^2-1 on -2..2 by 0.01: every result the window's labels show, once
// printed by the program and once clicked in the window.
TEST_F(RigaComando, RisultatiComeLeEtichetteDellaFinestra)
{
    const Uscita u = zelvo({"--integrale", "--minimo", "--radice", "--massimo", "--funzione",
                            "x^2-1", "-a", "-2", "-b", "2", "--passo", "0.01"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.err, "");
    // Always in this order, whatever the order of the options.
    EXPECT_EQ(u.out,
              n("radice = 1\n"
                "x_massimo = 2\n"
                "y_massimo = 3\n"
                "x_minimo = 0\n"
                "y_minimo = -1\n"
                "integrale = 1.33333333333333\n"));

    inserisci("x^2-1", "-2", "2", "st0.01");
    clic("Command1");
    clic("Command9");
    QString finestra = "radice = " + testo("Label21") + "\n";
    clic("Command10");
    finestra += "x_massimo = " + testo("Label13") + "\ny_massimo = " + testo("Label16") + "\n";
    clic("Command11");
    finestra += "x_minimo = " + testo("Label13") + "\ny_minimo = " + testo("Label20") + "\n";
    clic("Command8");
    finestra += "integrale = " + testo("Label15") + "\n";
    EXPECT_EQ(u.out, finestra);
}

// A result that could not be computed prints no line: why goes to
// standard error, and the exit status is 1; the others print as ever.
TEST_F(RigaComando, UnRisultatoNonCalcolatoNonStampaZero)
{
    Uscita u = zelvo({"--integrale", "--funzione", "x", "-a", "5", "-b", "1", "--passo", "0.1"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.out, "");
    EXPECT_TRUE(u.err.contains("integrale: nessun campione")) << u.err.toStdString();

    u = zelvo({"--massimo", "--radice", "--funzione", "1/(x-2)", "-a", "-3", "-b", "3", "--passo",
               "0.1"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.out, "radice = nessuna radice\n"); // no "y_massimo = " line
    EXPECT_TRUE(
            u.err.contains("massimo: nessun massimo (f illimitata superiormente vicino a x = 2"))
            << u.err.toStdString();

    // Approached, not attained: no x_massimo, and the reason alone.
    u = zelvo(
            {"--massimo", "--funzione", "Sin(x)/x", "-a", "-10", "-b", "10", "--passo", n("0.01")});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.out, "");
    // The graph's sweep lands on 0 itself, where f is not defined.
    EXPECT_EQ(u.err,
              n("f non definita in 1 punto su 2001 — Errore 6: Overflow in x = 0\n"
                "massimo: sup = 1, non raggiunto; f non definita in x = 0\n"));

    u = zelvo({"--integrale", "--minimo", "--funzione", "1/0", "-a", "-1", "-b", "1", "--passo",
               "0.1"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.out, "");
    EXPECT_TRUE(u.err.contains("integrale: non definita")) << u.err.toStdString();
    EXPECT_TRUE(u.err.contains("minimo: non definita")) << u.err.toStdString();
}

// a = b: one point, every result computed there, exit status 0.
TEST_F(RigaComando, AUgualeBUnSoloPunto)
{
    const Uscita u = zelvo({"--radice", "--massimo", "--minimo", "--integrale", "--studio",
                            "--funzione", "x^2", "-a", "2", "-b", "2", "--passo", "0.1"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.err, "");
    EXPECT_EQ(u.out,
              "radice = nessuna radice\n"
              "x_massimo = 2\n"
              "y_massimo = 4\n"
              "x_minimo = 2\n"
              "y_minimo = 4\n"
              "integrale = 0\n"
              "dominio = [2; 2]\n"
              "codominio = [4; 4]\n"
              "limite_infinito = -inf; +inf\n"
              "limite_infinito = +inf; +inf\n"
              "massimo_assoluto = 2; 4\n"
              "minimo_assoluto = 2; 4\n");
}

// The -x^2 of Exp(-x^2) keeps the language's meaning, (-x)^2, and standard
// error says so once, whatever is asked.
TEST_F(RigaComando, IlMenoDavantiAUnaPotenzaEDettoUnaVolta)
{
    const Uscita u = zelvo({"--minimo", "--integrale", "--funzione", "Exp(-x^2)", "-a", "-2", "-b",
                            "2", "--passo", "0.1", "--elenco", "-"});
    EXPECT_EQ(u.stato, 0);
    EXPECT_EQ(u.err, kAvvisoMeno + "\n");
    EXPECT_TRUE(u.out.startsWith("x_minimo = 0\ny_minimo = 1\n")) << u.out.toStdString();
    const Uscita senza = zelvo(
            {"--minimo", "--funzione", "Exp(-(x^2))", "-a", "-2", "-b", "2", "--passo", "0.1"});
    EXPECT_EQ(senza.err, "");
}

// The table's x as a person writes them, 0 and b included.
TEST_F(RigaComando, ElencoAlleXCheSiScrivono)
{
    const QString campi = virgola() ? ";" : ",";
    Uscita u = zelvo({"--funzione", "Sqr(x)", "-a", n("-0.3"), "-b", n("0.3"), "--passo", "0.1",
                      "--elenco", "-"});
    EXPECT_EQ(u.out,
              "x" + campi + "y\n" + n("-0.3") + campi + "\n" + n("-0.2") + campi + "\n" + n("-0.1")
                      + campi + "\n0" + campi + "0\n" + n("0.1") + campi
                      + n("0.316227766016838\n0.2") + campi + n("0.447213595499958\n0.3") + campi
                      + n("0.547722557505166\n"));
    u = zelvo({"--funzione", "Sqr(x)", "-a", "-2", "-b", "2", "--passo", "0.1", "--elenco", "-"});
    const QStringList linee = u.out.split('\n');
    ASSERT_EQ(linee.size(), 43); // the header, 41 rows, nothing after the last "\n"
    EXPECT_EQ(linee[41], "2" + campi + n("1.4142135623731"));
}

// The table on standard output: the header, then the rows of "Lista1" for
// the same inputs, x and y split at the locale's field separator.
TEST_F(RigaComando, ElencoHaLeRigheDellaLista)
{
    const Uscita u = zelvo(
            {"--funzione", "x^2-1", "-a", "-2", "-b", "2", "--passo", "st0.01", "--elenco", "-"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    const QString campi = virgola() ? ";" : ",";
    const QStringList linee = u.out.split('\n');
    // The header, 401 rows (-2, -1.99 ... 2), and nothing after the last "\n".
    ASSERT_EQ(linee.size(), 403);
    EXPECT_EQ(linee[0], "x" + campi + "y");
    EXPECT_EQ(linee[1], "-2" + campi + "3");
    EXPECT_EQ(linee[201], "0" + campi + "-1");
    EXPECT_EQ(linee[400], n("1.99") + campi + n("2.9601"));
    EXPECT_EQ(linee[401], "2" + campi + "3");
    EXPECT_EQ(linee[402], "");

    inserisci("x^2-1", "-2", "2", "st0.01");
    clic("Command1");
    clic("Command2");
    const QAbstractItemModel *righe = c<QListView>("List1")->model();
    ASSERT_EQ(righe->rowCount(), 401);
    for (int i = 0; i < righe->rowCount(); ++i) {
        QString riga = righe->index(i, 0).data().toString();
        ASSERT_EQ("x = " + linee[i + 1], riga.replace("   y= ", campi)) << i;
    }
}

// The picture written with --grafico is, pixel for pixel, the frame of the
// window after "Grafico" with the same inputs; scales and clipping included.
TEST_F(RigaComando, GraficoComeIlRiquadroDellaFinestra)
{
    const QTemporaryDir cartella;
    const QString png = cartella.filePath("grafico.png");
    const Uscita u = zelvo({"--funzione", "x^3-2*x", "-a", n("-1.5"), "-b", "2", "--passo", "0.001",
                            "--scala-x", "0.1", "--scala-y", "1", "--grafico", png});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.out, "");
    const QImage programma = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(programma.size(), QSize(431, 300));

    inserisci("x^3-2*x", n("-1.5"), "2", "st0.001", "0.1/div.", "1/div.");
    clic("Command1");
    const QImage finestra
            = form->grab(rettangoloGrafico()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(immagineGrafico(form->superficie()), finestra);
    EXPECT_EQ(programma, finestra);
    // The picture runs from grid line to grid line: a dot in each corner,
    // background just inside.
    const QRgb punto = programma.pixel(0, 0);
    EXPECT_NE(punto, programma.pixel(1, 1));
    EXPECT_EQ(programma.pixel(430, 0), punto);
    EXPECT_EQ(programma.pixel(0, 299), punto);
    EXPECT_EQ(programma.pixel(430, 299), punto);
    int rossi = 0; // and the graph is there, not only the grid
    for (int y = 0; y < programma.height(); ++y)
        for (int x = 0; x < programma.width(); ++x)
            rossi += programma.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(rossi, 400);
}

// --grafico-scala N: the same frame drawn N times as dense, as a screen at
// N00 % shows it, exactly N times as wide and as high; points and lines stay
// one pixel wide. At 1 it is --grafico's picture.
TEST(RigaComandoUso, GraficoScalaDisegnaLoStessoRiquadroPiuFitto)
{
    const QTemporaryDir cartella;
    const char *scale[] = {nullptr, "1", "2", "3", "4"};
    QImage immagini[std::size(scale)];
    for (std::size_t i = 0; i < std::size(scale); ++i) {
        const QString png = cartella.filePath(QString("g%1.png").arg(i));
        QStringList argomenti = {"--funzione", "Sin(x)*5", "-a",    "-10",       "-b",
                                 "10",         "--passo",  "0.001", "--grafico", png};
        if (scale[i])
            argomenti << "--grafico-scala" << scale[i];
        const Uscita u = zelvo(argomenti);
        ASSERT_EQ(u.stato, 0) << u.err.toStdString();
        immagini[i] = QImage(png).convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(immagini[1], immagini[0]);
    ASSERT_EQ(immagini[0].size(), QSize(431, 300));
    for (int n = 2; n <= 4; ++n)
        EXPECT_EQ(immagini[n].size(), QSize(431 * n, 300 * n)) << "--grafico-scala " << n;

    const QImage &densa = immagini[2];
    // The logical picture's pixel (0, 0) is device pixels 66 and 67 at 200 %;
    // the grid lines fall on twips 500 to 6940 and 0 to 4480, at 7.5 twips a
    // device pixel: a grid dot in each corner, the corners' dot colour.
    EXPECT_EQ(densa.pixel(67 - 66, 0), immagini[0].pixel(0, 0));
    EXPECT_EQ(densa.pixel(925 - 66, 597), immagini[0].pixel(0, 0));
    auto inRosso = [](const QImage &im, int x, int y) {
        return im.pixel(x, y) == qRgb(255, 0, 0);
    };
    int rossiDensi = 0, rossi = 0, blocchi = 0;
    for (int y = 0; y + 1 < densa.height(); ++y)
        for (int x = 0; x + 1 < densa.width(); ++x) {
            rossiDensi += inRosso(densa, x, y);
            blocchi += inRosso(densa, x, y) && inRosso(densa, x + 1, y) && inRosso(densa, x, y + 1)
                    && inRosso(densa, x + 1, y + 1);
        }
    for (int y = 0; y < immagini[0].height(); ++y)
        for (int x = 0; x < immagini[0].width(); ++x)
            rossi += inRosso(immagini[0], x, y);
    EXPECT_EQ(blocchi, 0);
    // A curve one pixel wide, twice as long in pixels: about twice the red.
    EXPECT_GT(rossiDensi, rossi * 17 / 10);
    EXPECT_LT(rossiDensi, rossi * 23 / 10);
}

// A refused input: exit status 1, nothing on standard output, and on standard
// error the window's status line after "Grafico" with the same inputs.
TEST_F(RigaComando, DatoRifiutatoEsce1ConIlMessaggioDellaRigaDiStato)
{
    const struct
    {
        const char *funzione, *a, *b;
        const char *inizio; // how the message starts
    } casi[] = {
            {"x^^2", "-1", "1", "Funzione rifiutata"},
            {"x", "abc", "1", "Errore 13"},
            {"x", "-1", "20", "Intervallo rifiutato"},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.funzione + std::string(" ") + caso.a + " " + caso.b);
        const Uscita u = zelvo({"--funzione", caso.funzione, "-a", caso.a, "-b", caso.b, "--passo",
                                "0.1", "--radice", "--elenco", "-"});
        EXPECT_EQ(u.stato, 1);
        EXPECT_EQ(u.out, "");
        EXPECT_TRUE(u.err.startsWith(caso.inizio)) << u.err.toStdString();

        inserisci(caso.funzione, caso.a, caso.b, "st0.1");
        clic("Command1");
        EXPECT_EQ(u.err, testo("LabelStato") + "\n");
    }
}

TEST(RigaComandoUso, ErroreDUsoEsce2EDiceCosaNonVa)
{
    const struct
    {
        QStringList argomenti;
        const char *messaggio;
    } casi[] = {
            {{"-a", "1", "-b", "2", "--passo", "0.1"}, "manca --funzione"},
            {{"--funzione", "x", "-b", "2", "--passo", "0.1"}, "manca -a"},
            {{"--funzione", "x", "-a", "1", "-b", "2"}, "manca --passo"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--studio", "--elenco", "-"},
             "manca --passo"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--studio", "--studio-pdf", "s.pdf"},
             "manca --passo"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--studio-pdf="},
             "nome di file vuoto"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--derivate"},
             "--derivate vuole --elenco"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.5"},
             "valore non ammesso per --passo: \"0.5\" (ammessi: 0.1, 0.01, 0.001, 0.0001)"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--scala-x", "100"},
             "valore non ammesso per --scala-x: \"100\" (ammessi: 10, 1, 0.1, 0.01)"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--radice", "--radice"},
             "opzione ripetuta: --radice"},
            {{"--funzione", "x", "--colore", "rosso"}, "opzione sconosciuta: --colore"},
            {{"--funzione", "x", "grafico.png"}, "argomento inatteso: grafico.png"},
            {{"--funzione", "x", "-a"}, "manca il valore di -a"},
            {{"--radice=1"}, "--radice non vuole un valore"},
            // An option where a value is expected is no value.
            {{"--funzione", "--radice", "-a", "1"},
             "manca il valore di --funzione (prima di --radice)"},
            {{"--funzione", "x", "-a", "-b", "2"}, "manca il valore di -a (prima di -b)"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--grafico", "g.gif"},
             "formato dell'immagine non riconosciuto: \"g.gif\" (il nome deve finire in .png, "
             ".jpg o .bmp)"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--grafico-scala", "2"},
             "--grafico-scala vale solo con --grafico"},
            {{"--funzione", "x", "-a", "1", "-b", "2", "--passo", "0.1", "--grafico", "g.png",
              "--grafico-scala", "1.5"},
             "valore non ammesso per --grafico-scala: \"1.5\" (ammessi: 1, 2, 3, 4)"},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.argomenti.join(' ').toStdString());
        const Uscita u = zelvo(caso.argomenti);
        EXPECT_EQ(u.stato, 2);
        EXPECT_EQ(u.out, "");
        EXPECT_EQ(u.err, QString("zelvo: ") + caso.messaggio + "\nPer l'aiuto: zelvo --help\n");
    }
}

// The picture in the format its name asks for; a file that cannot be
// written is told in Italian.
TEST(RigaComandoUso, GraficoNelFormatoDelNomeEFileNonScrivibileInItaliano)
{
    const QString cartella = QDir::temp().filePath("zelvo-formati");
    QDir().mkpath(cartella);
    const struct
    {
        const char *nome;
        QByteArray inizio; // the format's signature
    } formati[] = {{"g.png", "\x89PNG"}, {"g.JPG", "\xFF\xD8\xFF"}, {"g.bmp", "BM"}};
    for (const auto &f : formati) {
        const QString percorso = cartella + "/" + f.nome;
        const Uscita u = zelvo({"--funzione", "x", "-a", "-1", "-b", "1", "--passo", "0.1",
                                "--grafico", percorso});
        EXPECT_EQ(u.stato, 0) << u.err.toStdString();
        QFile file(percorso);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.nome;
        EXPECT_TRUE(file.read(f.inizio.size()) == f.inizio) << f.nome;
    }
    const Uscita u = zelvo({"--funzione", "x", "-a", "-1", "-b", "1", "--passo", "0.1", "--elenco",
                            "/non/esiste/t.csv"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.err, "zelvo: impossibile scrivere \"/non/esiste/t.csv\": la cartella non esiste\n");
    const Uscita g = zelvo({"--funzione", "x", "-a", "-1", "-b", "1", "--passo", "0.1", "--grafico",
                            "/non/esiste/g.png"});
    EXPECT_EQ(g.stato, 1);
    EXPECT_EQ(g.err, "zelvo: impossibile scrivere \"/non/esiste/g.png\": la cartella non esiste\n");
}

TEST(RigaComandoUso, AiutoInItaliano)
{
    const Uscita u = zelvo({"--help"});
    EXPECT_EQ(u.stato, 0);
    EXPECT_EQ(u.err, "");
    EXPECT_TRUE(u.out.startsWith("Uso:  zelvo\n")) << u.out.toStdString();
    for (const char *parola :
         {"--funzione TESTO -a A -b B --passo P", "--elenco FILE|-", "--grafico FILE.png",
          "--studio-pdf FILE", "Stato d'uscita", "radice", "x_massimo e y_massimo", "integrale"})
        EXPECT_TRUE(u.out.contains(QString::fromUtf8(parola))) << parola;
    // The separator this system reads in a and b.
    EXPECT_TRUE(u.out.contains(virgola() ? "la virgola: tra -10,1 e 10,1"
                                         : "il punto: tra -10.1 e 10.1"));
}

// Every special point of f, with the limits on each side and what they make
// (a hole, a jump, a pole, an edge of the domain, a corner), and nothing made
// by rounding: the functions a new user tried, each printed whole.
TEST(RigaComandoStudio, PuntiSpecialiComeLiLeggeUnoStudente)
{
    struct Caso
    {
        const char *funzione, *a, *b, *atteso;
    };
    const Caso casi[] = {
            {"(x^2-4)/(x-2)", "-2", "6",
             "zero = -2\n"
             "massimo_assoluto = 6; 8\n"
             "minimo_assoluto = -2; 0\n"
             "non_definita = 2; 2\n"
             "eliminabile = 2; 4\n"
             "limite = 2; 4; 4\n"
             "positiva = -2; 2\n"
             "positiva = 2; 6\n"
             "crescente = -2; 2\n"
             "crescente = 2; 6\n"},
            {"(x^2-4)/(x-2)", "-5", "5",
             "zero = -2\n"
             "massimo_assoluto = 5; 7\n"
             "minimo_assoluto = -5; -3\n"
             "non_definita = 2; 2\n"
             "eliminabile = 2; 4\n"
             "limite = 2; 4; 4\n"
             "positiva = -2; 2\n"
             "positiva = 2; 5\n"
             "negativa = -5; -2\n"
             "crescente = -5; 2\n"
             "crescente = 2; 5\n"},
            {"(x^2-1)/(x-1)", "-3", "3",
             "zero = -1\n"
             "massimo_assoluto = 3; 4\n"
             "minimo_assoluto = -3; -2\n"
             "non_definita = 1; 1\n"
             "eliminabile = 1; 2\n"
             "limite = 1; 2; 2\n"
             "positiva = -1; 1\n"
             "positiva = 1; 3\n"
             "negativa = -3; -1\n"
             "crescente = -3; 1\n"
             "crescente = 1; 3\n"},
            {"Sin(x)/x", "-10", "10",
             "zero = -9.42477796076938\n"
             "zero = -6.28318530717959\n"
             "zero = -3.14159265358979\n"
             "zero = 3.14159265358979\n"
             "zero = 6.28318530717959\n"
             "zero = 9.42477796076938\n"
             "massimo_relativo = -7.72525183693771; 0.128374553525899\n"
             "massimo_relativo = 7.72525183693771; 0.128374553525899\n"
             "minimo_relativo = -4.49340945790906; -0.217233628211222\n"
             "minimo_relativo = 4.49340945790906; -0.217233628211222\n"
             "flesso = -9.20584014293667; 0.0235929492505859\n"
             "flesso = -5.94036999057271; -0.0565856874949635\n"
             "flesso = -2.0815759778181; 0.419088058201616\n"
             "flesso = 2.0815759778181; 0.419088058201616\n"
             "flesso = 5.94036999057271; -0.0565856874949635\n"
             "flesso = 9.20584014293667; 0.0235929492505859\n"
             "minimo_assoluto = 4.49340945790906; -0.217233628211222\n"
             "non_definita = 0; 0\n"
             "eliminabile = 0; 1\n"
             "limite = 0; 1; 1\n"
             "estremo_superiore = 0; 1\n"
             "positiva = -9.42477796076938; -6.28318530717959\n"
             "positiva = -3.14159265358979; 0\n"
             "positiva = 0; 3.14159265358979\n"
             "positiva = 6.28318530717959; 9.42477796076938\n"
             "negativa = -10; -9.42477796076938\n"
             "negativa = -6.28318530717959; -3.14159265358979\n"
             "negativa = 3.14159265358979; 6.28318530717959\n"
             "negativa = 9.42477796076938; 10\n"
             "crescente = -10; -7.72525183693771\n"
             "crescente = -4.49340945790906; 0\n"
             "crescente = 4.49340945790906; 7.72525183693771\n"
             "decrescente = -7.72525183693771; -4.49340945790906\n"
             "decrescente = 0; 4.49340945790906\n"
             "decrescente = 7.72525183693771; 10\n"
             "concava_alto = -10; -9.20584014293667\n"
             "concava_alto = -5.94036999057271; -2.0815759778181\n"
             "concava_alto = 2.0815759778181; 5.94036999057271\n"
             "concava_alto = 9.20584014293667; 10\n"
             "concava_basso = -9.20584014293667; -5.94036999057271\n"
             "concava_basso = -2.0815759778181; 0\n"
             "concava_basso = 0; 2.0815759778181\n"
             "concava_basso = 5.94036999057271; 9.20584014293667\n"},
            {"Atn(1/x)", "-3", "3",
             "non_definita = 0; 0\n"
             "salto = 0\n"
             "limite = 0; -1.5707963267949; 1.5707963267949\n"
             "estremo_superiore = 0; 1.5707963267949\n"
             "estremo_inferiore = 0; -1.5707963267949\n"
             "positiva = 0; 3\n"
             "negativa = -3; 0\n"
             "decrescente = -3; 0\n"
             "decrescente = 0; 3\n"
             "concava_alto = 0; 3\n"
             "concava_basso = -3; 0\n"},
            {"x*Log(x)", "0", "3",
             "zero = 1\n"
             "minimo_relativo = 0.367879441171442; -0.367879441171442\n"
             "massimo_assoluto = 3; 3.29583686600433\n"
             "minimo_assoluto = 0.367879441171442; -0.367879441171442\n"
             "non_definita = 0; 0\n"
             "limite = 0; ; 0\n"
             "positiva = 1; 3\n"
             "negativa = 0; 1\n"
             "crescente = 0.367879441171442; 3\n"
             "decrescente = 0; 0.367879441171442\n"
             "concava_alto = 0; 3\n"},
            {"x-Int(x)", "-2", "2",
             "zero = -2\n"
             "zero = -1\n"
             "zero = 0\n"
             "zero = 1\n"
             "zero = 2\n"
             "minimo_assoluto = 2; 0\n"
             "salto = -1\n"
             "salto = 0\n"
             "salto = 1\n"
             "salto = 2\n"
             "limite = -1; 1; 0\n"
             "limite = 0; 1; 0\n"
             "limite = 1; 1; 0\n"
             "limite = 2; 1; \n"
             "estremo_superiore = 2; 1\n"
             "positiva = -2; -1\n"
             "positiva = -1; 0\n"
             "positiva = 0; 1\n"
             "positiva = 1; 2\n"
             "crescente = -2; -1\n"
             "crescente = -1; 0\n"
             "crescente = 0; 1\n"
             "crescente = 1; 2\n"},
            {"Int(x)", "-2.5", "2.5",
             "zero = 0\n"
             "massimo_assoluto = 2.5; 2\n"
             "minimo_assoluto = -2.5; -3\n"
             "salto = -2\n"
             "salto = -1\n"
             "salto = 0\n"
             "salto = 1\n"
             "salto = 2\n"
             "limite = -2; -3; -2\n"
             "limite = -1; -2; -1\n"
             "limite = 0; -1; 0\n"
             "limite = 1; 0; 1\n"
             "limite = 2; 1; 2\n"
             "positiva = 1; 2\n"
             "positiva = 2; 2.5\n"
             "negativa = -2.5; -2\n"
             "negativa = -2; -1\n"
             "negativa = -1; 0\n"},
            {"Sgn(x-0.6)*x", "-3.8", "2.04",
             "zero = 0\n"
             "zero = 0.6\n"
             "massimo_assoluto = -3.8; 3.8\n"
             "salto = 0.6\n"
             "limite = 0.6; -0.6; 0.6\n"
             "estremo_inferiore = 0.6; -0.6\n"
             "positiva = -3.8; 0\n"
             "positiva = 0.6; 2.04\n"
             "negativa = 0; 0.6\n"
             "crescente = 0.6; 2.04\n"
             "decrescente = -3.8; 0.6\n"},
            {"Abs(x^2-3.6)", "0.5", "5.8",
             "zero = 1.89736659610103\n"
             "minimo_relativo = 1.89736659610103; 0\n"
             "massimo_assoluto = 5.8; 30.04\n"
             "minimo_assoluto = 1.89736659610103; 0\n"
             "punto_angoloso = 1.89736659610103; 0; -3.7947331922021; 3.7947331922021\n"
             "positiva = 0.5; 1.89736659610103\n"
             "positiva = 1.89736659610103; 5.8\n"
             "crescente = 1.89736659610103; 5.8\n"
             "decrescente = 0.5; 1.89736659610103\n"
             "concava_alto = 1.89736659610103; 5.8\n"
             "concava_basso = 0.5; 1.89736659610103\n"},
            {"Exp(1/x)", "-3", "3",
             "flesso = -0.5; 0.135335283236613\n"
             "non_definita = 0; 0\n"
             "asintoto_verticale = 0\n"
             "limite = 0; 0; +inf\n"
             "estremo_superiore = 0; +inf\n"
             "estremo_inferiore = 0; 0\n"
             "positiva = -3; 0\n"
             "positiva = 0; 3\n"
             "decrescente = -3; 0\n"
             "decrescente = 0; 3\n"
             "concava_alto = -0.5; 0\n"
             "concava_alto = 0; 3\n"
             "concava_basso = -3; -0.5\n"},
            {"x/Log(x)", "0", "3",
             "minimo_relativo = 2.71828182845905; 2.71828182845905\n"
             "non_definita = 0; 0\n"
             "non_definita = 1; 1\n"
             "asintoto_verticale = 1\n"
             "limite = 0; ; 0\n"
             "limite = 1; -inf; +inf\n"
             "estremo_superiore = 1; +inf\n"
             "estremo_inferiore = 1; -inf\n"
             "positiva = 1; 3\n"
             "negativa = 0; 1\n"
             "crescente = 2.71828182845905; 3\n"
             "decrescente = 0; 1\n"
             "decrescente = 1; 2.71828182845905\n"
             "concava_alto = 1; 3\n"
             "concava_basso = 0; 1\n"},
            {"Exp(-1/x^2)", "-3", "3",
             "flesso = -0.816496580927726; 0.22313016014843\n"
             "flesso = 0.816496580927726; 0.22313016014843\n"
             "massimo_assoluto = 3; 0.89483931681437\n"
             "non_definita = 0; 0\n"
             "eliminabile = 0; 0\n"
             "limite = 0; 0; 0\n"
             "estremo_inferiore = 0; 0\n"
             "positiva = -3; 0\n"
             "positiva = 0; 3\n"
             "crescente = 0; 3\n"
             "decrescente = -3; 0\n"
             "concava_alto = -0.816496580927726; 0\n"
             "concava_alto = 0; 0.816496580927726\n"
             "concava_basso = -3; -0.816496580927726\n"
             "concava_basso = 0.816496580927726; 3\n"},
            {"Exp(100*x)", "-10", "10",
             "minimo_assoluto = -10; 0\n"
             "positiva = -10; 10\n"
             "crescente = -10; 10\n"
             "concava_alto = -10; 10\n"},
            {"2*(x-0.72)^3*(x-0.720001)^2", "0", "1.5",
             "zero = 0.72\n"
             "zero = 0.720001\n"
             "massimo_relativo = 0.7200006; 6.9120000009938E-32\n"
             "minimo_relativo = 0.720001; 0\n"
             "flesso = 0.72; 0\n"
             "flesso = 0.720000355051026; 3.72351427651078E-32\n"
             "flesso = 0.720000844948974; 2.90048572252367E-32\n"
             "massimo_assoluto = 1.5; 0.577433392998709\n"
             "minimo_assoluto = 0; -0.386984601354986\n"
             "flesso_tangente_orizzontale = 0.72; 0\n"
             "positiva = 0.72; 0.720001\n"
             "positiva = 0.720001; 1.5\n"
             "negativa = 0; 0.72\n"
             "crescente = 0; 0.7200006\n"
             "crescente = 0.720001; 1.5\n"
             "decrescente = 0.7200006; 0.720001\n"
             "concava_alto = 0.72; 0.720000355051026\n"
             "concava_alto = 0.720000844948974; 1.5\n"
             "concava_basso = 0; 0.72\n"
             "concava_basso = 0.720000355051026; 0.720000844948974\n"},
            {"1.5*(x+1.05)^2*(x+1.049999)^2", "-2", "0",
             "zero = -1.05\n"
             "zero = -1.049999\n"
             "massimo_relativo = -1.0499995; 9.37500000524167E-26\n"
             "minimo_relativo = -1.05; 0\n"
             "minimo_relativo = -1.049999; 0\n"
             "flesso = -1.04999978867513; 4.16666666754798E-26\n"
             "flesso = -1.04999921132487; 4.16666666754798E-26\n"
             "massimo_assoluto = 0; 1.82325590212665\n"
             "minimo_assoluto = -1.049999; 0\n"
             "positiva = -2; -1.05\n"
             "positiva = -1.05; -1.049999\n"
             "positiva = -1.049999; 0\n"
             "crescente = -1.05; -1.0499995\n"
             "crescente = -1.049999; 0\n"
             "decrescente = -2; -1.05\n"
             "decrescente = -1.0499995; -1.049999\n"
             "concava_alto = -2; -1.04999978867513\n"
             "concava_alto = -1.04999921132487; 0\n"
             "concava_basso = -1.04999978867513; -1.04999921132487\n"},
            {"1/(x-2.2)", "-3", "3",
             "non_definita = 2.2; 2.2\n"
             "asintoto_verticale = 2.2\n"
             "limite = 2.2; -inf; +inf\n"
             "estremo_superiore = 2.2; +inf\n"
             "estremo_inferiore = 2.2; -inf\n"
             "positiva = 2.2; 3\n"
             "negativa = -3; 2.2\n"
             "decrescente = -3; 2.2\n"
             "decrescente = 2.2; 3\n"
             "concava_alto = 2.2; 3\n"
             "concava_basso = -3; 2.2\n"},
            {"Tan(3*x)", "-1", "1",
             "zero = 0\n"
             "flesso = 0; 0\n"
             "asintoto_verticale = -0.523598775598299\n"
             "asintoto_verticale = 0.523598775598299\n"
             "limite = -0.523598775598299; +inf; -inf\n"
             "limite = 0.523598775598299; +inf; -inf\n"
             "estremo_superiore = 0.523598775598299; +inf\n"
             "estremo_inferiore = 0.523598775598299; -inf\n"
             "positiva = -1; -0.523598775598299\n"
             "positiva = 0; 0.523598775598299\n"
             "negativa = -0.523598775598299; 0\n"
             "negativa = 0.523598775598299; 1\n"
             "crescente = -1; -0.523598775598299\n"
             "crescente = -0.523598775598299; 0.523598775598299\n"
             "crescente = 0.523598775598299; 1\n"
             "concava_alto = -1; -0.523598775598299\n"
             "concava_alto = 0; 0.523598775598299\n"
             "concava_basso = -0.523598775598299; 0\n"
             "concava_basso = 0.523598775598299; 1\n"},
            {"Sqr(1+Sin(x))", "-3.92", "4",
             "zero = -1.5707963267949\n"
             "massimo_relativo = 1.5707963267949; 1.4142135623731\n"
             "minimo_relativo = -1.5707963267949; 0\n"
             "massimo_assoluto = 1.5707963267949; 1.4142135623731\n"
             "minimo_assoluto = -1.5707963267949; 0\n"
             "punto_angoloso = -1.5707963267949; 0; -0.70711; 0.70711\n"
             "positiva = -3.92; -1.5707963267949\n"
             "positiva = -1.5707963267949; 4\n"
             "crescente = -1.5707963267949; 1.5707963267949\n"
             "decrescente = -3.92; -1.5707963267949\n"
             "decrescente = 1.5707963267949; 4\n"
             "concava_basso = -3.92; -1.5707963267949\n"
             "concava_basso = -1.5707963267949; 4\n"},
    };
    for (const Caso &c : casi) {
        const Uscita u = zelvo({"--funzione", c.funzione, "-a", n(c.a), "-b", n(c.b), "--studio"});
        EXPECT_EQ(u.stato, 0) << c.funzione;
        EXPECT_EQ(senzaScuola(u.out), n(c.atteso)) << c.funzione;
    }
}

// The study: one line per feature, kinds in a fixed order and each
// ascending, then the intervals; the notes on standard error. No step needed.
TEST(RigaComandoStudio, OgniCaratteristicaInOrdine)
{
    Uscita u = zelvo({"--studio", "--radice", "--funzione", "x^2-2.25", "-a", "-3", "-b", "3"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.err, "");
    EXPECT_EQ(senzaScuola(u.out),
              n("radice = 1.5\n"
                "zero = -1.5\n"
                "zero = 1.5\n"
                "minimo_relativo = 0; -2.25\n"
                "massimo_assoluto = 3; 6.75\n"
                "minimo_assoluto = 0; -2.25\n"
                "positiva = -3; -1.5\n"
                "positiva = 1.5; 3\n"
                "negativa = -1.5; 1.5\n"
                "crescente = 0; 3\n"
                "decrescente = -3; 0\n"
                "concava_alto = -3; 3\n"));

    u = zelvo({"--funzione", "x^3-3*x+Sqr(x+1.5)*0", "-a", "-2", "-b", "2", "--studio"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    // f(-1.5) = 1.125: the edge of the domain is no zero, and not the minimum.
    EXPECT_EQ(senzaScuola(u.out),
              n("zero = 0\n"
                "zero = 1.73205080756888\n"
                "massimo_relativo = -1; 2\n"
                "minimo_relativo = 1; -2\n"
                "flesso = 0; 0\n"
                "massimo_assoluto = 2; 2\n"
                "minimo_assoluto = 1; -2\n"
                "non_definita = -2; -1.5\n"
                "limite = -1.5; ; 1.125\n"
                "positiva = -1.5; 0\n"
                "positiva = 1.73205080756888; 2\n"
                "negativa = 0; 1.73205080756888\n"
                "crescente = -1.5; -1\n"
                "crescente = 1; 2\n"
                "decrescente = -1; 1\n"
                "concava_alto = 0; 2\n"
                "concava_basso = -1.5; 0\n"));

    u = zelvo({"--funzione", "1/(x-2)", "-a", "-3", "-b", "3", "--studio"});
    EXPECT_EQ(senzaScuola(u.out),
              "non_definita = 2; 2\n"
              "asintoto_verticale = 2\n"
              "limite = 2; -inf; +inf\n"
              "estremo_superiore = 2; +inf\n"
              "estremo_inferiore = 2; -inf\n"
              "positiva = 2; 3\n"
              "negativa = -3; 2\n"
              "decrescente = -3; 2\n"
              "decrescente = 2; 3\n"
              "concava_alto = 2; 3\n"
              "concava_basso = -3; 2\n");

    u = zelvo({"--funzione", "Int(x)", "-a", "-2", "-b", "2", "--studio"});
    EXPECT_EQ(u.stato, 0);
    EXPECT_TRUE(u.out.contains("salto = -1\nsalto = 0\nsalto = 1\n")) << u.out.toStdString();
    EXPECT_EQ(u.err,
              "f vale 0 su tutto l'intervallo da x = 0 a x = 1: ne è mostrato l'inizio "
              "come zero\n");

    u = zelvo({"--funzione", "x", "-a", "1", "-b", "-1", "--studio"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.out, "");
    EXPECT_TRUE(u.err.endsWith("studio: a > b: nessun campione\n")) << u.err.toStdString();
}

// The course's study comes first: domain and range with open and closed
// ends, the y-intercept, parity, the behaviour at -inf and +inf, the tangent
// at each inflection.
TEST(RigaComandoStudio, DominioParitaInfinitoPrimaDelResto)
{
    Uscita u = zelvo({"--funzione", "(2*x^2+1)/(x-1)", "-a", "-3", "-b", "3", "--studio"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_TRUE(u.out.startsWith(n("dominio = [-3; 1)\n"
                                   "dominio = (1; 3]\n"
                                   "codominio = (-inf; -0.898979485566356]\n"
                                   "codominio = [8.89897948556636; +inf)\n"
                                   "intersezione_y = 0; -1\n"
                                   "parita = nessuna; 3\n"
                                   "limite_infinito = -inf; -inf\n"
                                   "asintoto_obliquo = -inf; 2; 2\n"
                                   "limite_infinito = +inf; +inf\n"
                                   "asintoto_obliquo = +inf; 2; 2\n"
                                   "massimo_relativo = ")))
            << u.out.toStdString();

    u = zelvo({"--funzione", "Exp(x)", "-a", "-1", "-b", "1", "--studio"});
    EXPECT_TRUE(u.out.startsWith(n("dominio = [-1; 1]\n"
                                   "codominio = [0.367879441171442; 2.71828182845905]\n"
                                   "intersezione_y = 0; 1\n"
                                   "parita = nessuna; 1\n"
                                   "limite_infinito = -inf; 0\n"
                                   "asintoto_orizzontale = -inf; 0\n"
                                   "limite_infinito = +inf; +inf\n"
                                   "massimo_assoluto = ")))
            << u.out.toStdString();

    // Odd on [-2; 2] and of period 2π; the tangent at the inflection at 0;
    // values that oscillate without settling at -inf and +inf.
    u = zelvo({"--funzione", "Sin(x)", "-a", "-2", "-b", "3", "--studio"});
    EXPECT_TRUE(u.out.startsWith(n("dominio = [-2; 3]\n"
                                   "codominio = [-1; 1]\n"
                                   "intersezione_y = 0; 0\n"
                                   "parita = dispari; 2\n"
                                   "periodo = 6.28318530717959\n"
                                   "limite_infinito = -inf; non_esiste\n"
                                   "limite_infinito = +inf; non_esiste\n"
                                   "tangente_flesso = 0; 1; 0\n")))
            << u.out.toStdString();

    // The least period, less than the one of Sin; none where x is also
    // outside the sine.
    u = zelvo({"--funzione", "Abs(Sin(x))", "-a", "1", "-b", "2", "--studio"});
    EXPECT_TRUE(u.out.contains(n("\nperiodo = 3.14159265358979\n"))) << u.out.toStdString();
    u = zelvo({"--funzione", "x*Sin(x)", "-a", "-2", "-b", "3", "--studio"});
    EXPECT_FALSE(u.out.contains("periodo")) << u.out.toStdString();

    u = zelvo({"--funzione", "1/Log(x)", "-a", "2", "-b", "3", "--studio"});
    EXPECT_TRUE(u.out.contains("limite_infinito = +inf; non determinato\n")) << u.out.toStdString();
    EXPECT_FALSE(u.out.contains("parita")) << u.out.toStdString();
    EXPECT_FALSE(u.out.contains("limite_infinito = -inf")) << u.out.toStdString();
}

// The study sheet as a PDF on A4, its texts text: a search finds the
// function, the interval and every feature.
TEST(RigaComandoStudio, StudioPdfScriveIlFoglioConIlTestoCercabile)
{
    const QTemporaryDir cartella;
    const QString pdf = cartella.filePath("studio.pdf");
    Uscita u = zelvo({"--funzione", "(x^2-1)/x", "-a", "-2", "-b", "2", "--passo", "0.01",
                      "--studio-pdf", pdf});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.out, "");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(5), "%PDF-");
    const InfoPdf info = infoPdf(pdf);
    EXPECT_EQ(info.formato, "595 x 842 pts (A4)");
    EXPECT_GE(info.pagine, 1);
    const QString testo = testoPdf(pdf);
    for (const char *riga :
         {"^Studio della funzione$", "^Y = \\(x\\^2-1\\)/x$", "^a = -2 +b = 2$", "^Grafico$",
          "^parte +caratteristica +x +y +descrizione$",
          "^dominio +dominio +\\[-2; 0\\) ∪ \\(0; 2\\]$", "^simmetrie +parità +dispari",
          "^intersezioni con gli assi +con l'asse x \\(zero\\) +-1 +0$",
          "^ +con l'asse x \\(zero\\) +1 +0$",
          "^limiti e asintoti +asintoto verticale +0 +∄ +x ?= ?0$", "^Schema dei segni$",
          "^x +-2 +-1 +0 +1 +2$", "Pagina 1 di "})
        EXPECT_TRUE(testo.contains(
                QRegularExpression(QString::fromUtf8(riga), QRegularExpression::MultilineOption)))
                << riga << "\n"
                << testo.toStdString();

    // On standard output with "-"; a file that cannot be written is told.
    u = zelvo({"--funzione", "x", "-a", "-1", "-b", "1", "--passo", "0.1", "--studio-pdf", "-"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_TRUE(u.out.startsWith("%PDF-"));
    u = zelvo({"--funzione", "x", "-a", "-1", "-b", "1", "--passo", "0.1", "--studio-pdf",
               "/non/esiste/studio.pdf"});
    EXPECT_EQ(u.stato, 1);
    EXPECT_EQ(u.err,
              "zelvo: impossibile scrivere \"/non/esiste/studio.pdf\": la cartella non esiste\n");
}

// The list with the exact derivatives: an empty field where a value is not
// defined (f at a pole; f' and f'' at a corner; both for Rnd, which has none).
TEST(RigaComandoStudio, ElencoConLeDerivateEsatte)
{
    const QString c = virgola() ? ";" : ",";
    const auto csv = [&c](QString t) {
        return n(t).replace('|', c);
    };
    Uscita u = zelvo({"--funzione", "Abs(x)-1/x", "-a", n("-0.2"), "-b", n("0.2"), "--passo", "0.1",
                      "--elenco", "-", "--derivate"});
    EXPECT_EQ(u.stato, 0) << u.err.toStdString();
    EXPECT_EQ(u.out,
              csv("x|y|dy|d2y\n"
                  "-0.2|5.2|24|250\n"
                  "-0.1|10.1|99|2000\n"
                  "0|||\n"
                  "0.1|-9.9|101|-2000\n"
                  "0.2|-4.8|26|-250\n"));
    EXPECT_TRUE(u.err.contains("Divisione per zero in x = 0")) << u.err.toStdString();

    u = zelvo({"--funzione", "Abs(x)+x^3/2", "-a", n("-0.2"), "-b", n("0.2"), "--passo", "0.1",
               "--elenco", "-", "--derivate"});
    EXPECT_EQ(u.out,
              csv("x|y|dy|d2y\n"
                  "-0.2|0.196|-0.94|-0.6\n"
                  "-0.1|0.0995|-0.985|-0.3\n"
                  "0|0||\n"
                  "0.1|0.1005|1.015|0.3\n"
                  "0.2|0.204|1.06|0.6\n"));
    EXPECT_EQ(u.err, "");

    u = zelvo({"--funzione", "x+Rnd*0", "-a", "0", "-b", n("0.2"), "--passo", "0.1", "--elenco",
               "-", "--derivate"});
    EXPECT_EQ(u.out, csv("x|y|dy|d2y\n0|0||\n0.1|0.1||\n0.2|0.2||\n"));
    EXPECT_EQ(u.err, "derivate esatte non disponibili per questa funzione\n");
}

} // namespace
} // namespace zelvo
