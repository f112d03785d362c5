// The pictures of the README and the guide are what the program shows now:
// the screenshot generator, run afresh, draws each committed picture of docs/
// pixel for pixel, and every picture the two texts show is one of them. And
// every example of the command line in them prints what it shows.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const QString kRifai = QStringLiteral("to take the pictures again: cmake --build " ZELVO_BUILD
                                      " --target schermate");

// How many pixels of `fatta` differ from `scritta` by more than the rounding
// of an antialiased edge (2 in a channel), and the first of them.
struct Differenza
{
    int pixel = 0;
    QPoint prima;
};

Differenza confronta(const QImage &scritta, const QImage &fatta)
{
    Differenza d;
    for (int y = 0; y < fatta.height(); ++y)
        for (int x = 0; x < fatta.width(); ++x) {
            const QRgb a = scritta.pixel(x, y), b = fatta.pixel(x, y);
            if (std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))})
                > 2) {
                if (d.pixel++ == 0)
                    d.prima = {x, y};
            }
        }
    return d;
}

// The pictures a Markdown text shows, as paths relative to docs/.
QStringList immaginiMostrate(const QString &percorso, const QString &cartella)
{
    QFile file(percorso);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << percorso.toStdString();
    const QString testo = QString::fromUtf8(file.readAll());
    QStringList immagini;
    static const QRegularExpression immagine(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
    for (const QRegularExpressionMatch &m : immagine.globalMatch(testo))
        immagini << QDir::cleanPath(cartella + m.captured(1));
    return immagini;
}

TEST(Documentazione, LeImmaginiSonoQuelleCheIlProgrammaDisegnaOggi)
{
    const QTemporaryDir cartella;
    ASSERT_TRUE(cartella.isValid());
    QProcess generatore;
    generatore.start(QStringLiteral(ZELVO_GENERA_SCHERMATE), {cartella.path()});
    ASSERT_TRUE(generatore.waitForFinished(300000));
    ASSERT_EQ(generatore.exitCode(), 0) << generatore.readAllStandardError().toStdString();

    const QDir docs(QStringLiteral(ZELVO_SORGENTI "/docs"));
    const QStringList fatte
            = QDir(cartella.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    const QStringList scritte = docs.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(fatte.isEmpty());
    EXPECT_EQ(scritte.join(' ').toStdString(), fatte.join(' ').toStdString())
            << "docs/ must hold exactly the pictures the program takes; " << kRifai.toStdString();

    for (const QString &nome : fatte) {
        SCOPED_TRACE(nome.toStdString());
        const QImage fatta(cartella.filePath(nome));
        const QImage scritta(docs.filePath(nome));
        ASSERT_FALSE(fatta.isNull());
        if (scritta.isNull())
            continue; // told above
        ASSERT_EQ(scritta.size(), fatta.size()) << kRifai.toStdString();
        const Differenza d = confronta(scritta, fatta);
        EXPECT_EQ(d.pixel, 0) << "docs/" << nome.toStdString() << " is not what the program "
                              << "draws now: first different pixel at (" << d.prima.x() << ", "
                              << d.prima.y() << "); " << kRifai.toStdString();
    }

    // What the README and the guide show is among those pictures.
    const QStringList mostrate
            = immaginiMostrate(QStringLiteral(ZELVO_SORGENTI "/README.md"), QString())
            + immaginiMostrate(docs.filePath(QStringLiteral("guida.md")), QStringLiteral("docs/"));
    EXPECT_GE(mostrate.size(), 3);
    for (const QString &immagine : mostrate)
        EXPECT_TRUE(immagine.startsWith(QStringLiteral("docs/")) && fatte.contains(immagine.mid(5)))
                << immagine.toStdString() << " is not a picture the program takes";
}

// An example of the command line as a text shows it: "$ zelvo ARGS" in a
// block, then what it prints (standard output and error as they come; with
// "> /dev/null", the error alone). A line "…" stands for any lines.
struct Esempio
{
    QString comando;
    QStringList argomenti;
    bool soloErrori = false;
    QStringList righe;
};

QStringList argomenti(const QString &riga)
{
    QStringList a;
    QString parola;
    bool virgolette = false, aperta = false;
    for (const QChar c : riga) {
        if (c == '"') {
            virgolette = !virgolette;
            aperta = true;
        } else if (c == ' ' && !virgolette) {
            if (aperta)
                a << parola;
            parola.clear();
            aperta = false;
        } else {
            parola += c;
            aperta = true;
        }
    }
    if (aperta)
        a << parola;
    return a;
}

std::vector<Esempio> esempi(const QString &percorso)
{
    QFile file(percorso);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << percorso.toStdString();
    std::vector<Esempio> e;
    bool inBlocco = false, inEsempio = false;
    for (const QString &grezza : QString::fromUtf8(file.readAll()).split('\n')) {
        // A block inside a list item is indented by two.
        const QString pulita = grezza.startsWith(QStringLiteral("  ")) ? grezza.mid(2) : grezza;
        if (pulita.startsWith(QStringLiteral("```"))) {
            inBlocco = !inBlocco;
            inEsempio = false;
            continue;
        }
        if (inBlocco && pulita.startsWith(QStringLiteral("$ zelvo "))) {
            Esempio n;
            n.comando = pulita;
            QString resto = pulita.mid(8);
            if (resto.endsWith(QStringLiteral(" > /dev/null"))) {
                n.soloErrori = true;
                resto.chop(12);
            }
            n.argomenti = argomenti(resto);
            e.push_back(n);
            inEsempio = true;
        } else if (inBlocco && inEsempio) {
            e.back().righe << pulita;
        }
    }
    for (Esempio &n : e) // a blank line parts two examples of a block
        while (!n.righe.isEmpty() && n.righe.back().isEmpty())
            n.righe.removeLast();
    return e;
}

// The printed lines match the shown ones, "…" taking any run of lines.
bool corrisponde(const QStringList &mostrate, qsizetype m, const QStringList &stampate, qsizetype s)
{
    if (m == mostrate.size())
        return s == stampate.size();
    if (mostrate[m] == QStringLiteral("…")) {
        for (qsizetype k = s; k <= stampate.size(); ++k)
            if (corrisponde(mostrate, m + 1, stampate, k))
                return true;
        return false;
    }
    return s < stampate.size() && mostrate[m] == stampate[s]
            && corrisponde(mostrate, m + 1, stampate, s + 1);
}

TEST(Documentazione, GliEsempiSonoCioCheIlProgrammaScriveOggi)
{
    std::vector<Esempio> tutti = esempi(QStringLiteral(ZELVO_SORGENTI "/README.md"));
    for (Esempio &e : esempi(QStringLiteral(ZELVO_SORGENTI "/docs/guida.md")))
        tutti.push_back(std::move(e));
    EXPECT_GE(tutti.size(), 20u);
    for (const Esempio &e : tutti) {
        SCOPED_TRACE(e.comando.toStdString());
        QProcess zelvo;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        // The examples are those of an Italian desktop.
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("it_IT.UTF-8"));
        ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        zelvo.setProcessEnvironment(ambiente);
        if (e.soloErrori)
            zelvo.setStandardOutputFile(QProcess::nullDevice());
        else
            zelvo.setProcessChannelMode(QProcess::MergedChannels);
        zelvo.start(QStringLiteral(ZELVO_PROGRAMMA), e.argomenti);
        ASSERT_TRUE(zelvo.waitForFinished(120000));
        QString uscita = QString::fromUtf8(e.soloErrori ? zelvo.readAllStandardError()
                                                        : zelvo.readAllStandardOutput());
        if (uscita.endsWith('\n'))
            uscita.chop(1);
        const QStringList stampate = uscita.split('\n');
        EXPECT_TRUE(corrisponde(e.righe, 0, stampate, 0))
                << "the text shows:\n"
                << e.righe.join('\n').toStdString() << "\nthe program prints:\n"
                << stampate.join('\n').toStdString();
    }
}

} // namespace
