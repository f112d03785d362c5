// The pictures of the README and the guide are what the program shows now:
// the screenshot generator, run afresh, draws each committed picture of docs/
// pixel for pixel, and every picture the two texts show is one of them.
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

} // namespace
