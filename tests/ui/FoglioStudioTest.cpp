// The study sheet on paper: a long study goes on over several pages and loses
// nothing, every text is text a reader can find, and the first page's
// picture is the page.
#include "ui/FoglioStudio.h"
#include "tests/ui/LeggiPdf.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelvo {
namespace {

// 240 features in groups of 7 (the group named on its first row only), a
// function of 2,400 characters without a space, a chart of 61 breakpoints:
// more than a page holds, wider than a line.
FoglioStudio foglioLungo()
{
    FoglioStudio f;
    for (int i = 0; i < 300; ++i)
        f.funzione += "Sin(" + std::to_string(i) + "*x)+";
    f.funzione += "x";
    f.a = "-30";
    f.b = "30";
    f.intestazione = {"gruppo", "x", "y"};
    for (int i = 0; i < 240; ++i)
        f.righe.push_back({i % 7 == 0 ? "g" + std::to_string(i / 7) : "", "x" + std::to_string(i),
                           "y" + std::to_string(i)});
    for (int k = -30; k <= 30; ++k) {
        f.schema.intestazione.push_back("p" + std::to_string(k));
        for (auto &riga : f.schema.righe)
            riga.push_back("0");
        if (k < 30) {
            f.schema.intestazione.emplace_back();
            for (auto &riga : f.schema.righe)
                riga.push_back("+");
        }
    }
    f.note = {"Una nota in fondo al foglio"};
    return f;
}

TEST(FoglioStudio, UnoStudioLungoVaSuPiuPagineENonPerdeNulla)
{
    const QTemporaryDir cartella;
    const QString percorso = cartella.filePath("lungo.pdf");
    QFile file(percorso);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const FoglioStudio foglio = foglioLungo();
    ASSERT_TRUE(scriviPdfFoglio(foglio, file));
    file.close();

    const InfoPdf info = infoPdf(percorso);
    EXPECT_EQ(info.formato, "595 x 842 pts (A4)");
    EXPECT_GE(info.pagine, 5);
    const QStringList pagine = testoPdf(percorso).split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pagine.size(), info.pagine);

    // The function wraps, whole: its lines are the text again.
    const QString tutto = pagine.join(QString());
    EXPECT_TRUE(
            QString(tutto).remove('\n').contains(QString::fromStdString("Y = " + foglio.funzione)));

    int righe = 0;
    for (int p = 0; p < pagine.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const QStringList linee = pagine[p].split('\n');
        EXPECT_TRUE(pagine[p].contains(
                QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(pagine.size())));
        // Every page says what it is a page of.
        EXPECT_TRUE(pagine[p].trimmed().startsWith(p == 0 ? "Studio della funzione\n"
                                                          : "Studio della funzione Y = Sin(0*x)+"))
                << pagine[p].left(200).toStdString();
        // Every page with features heads them with the columns' names, and
        // names the group its first row goes on.
        bool testata = false, prima = true;
        for (const QString &linea : linee) {
            const QStringList celle = linea.simplified().split(' ');
            if (celle == QStringList {"gruppo", "x", "y"})
                testata = true;
            if (celle.value(celle.size() - 2) == QStringLiteral("x%1").arg(righe)) {
                EXPECT_TRUE(testata) << linea.toStdString();
                QStringList attese
                        = {QStringLiteral("x%1").arg(righe), QStringLiteral("y%1").arg(righe)};
                if (prima || righe % 7 == 0)
                    attese.prepend(QStringLiteral("g%1").arg(righe / 7));
                EXPECT_EQ(celle, attese);
                prima = false;
                ++righe;
            }
        }
    }
    EXPECT_EQ(righe, 240);

    // The chart in bands, each with the rows' names, each from the
    // breakpoint the band before ended on: every breakpoint shown.
    QStringList punti;
    for (const QString &linea : tutto.split('\n'))
        if (linea.startsWith("x "))
            punti << linea.simplified().split(' ').mid(1);
    EXPECT_GE(tutto.count("segno di f"), 2);
    EXPECT_EQ(tutto.count("concavità"), tutto.count("segno di f"));
    QStringList attesi;
    for (int k = -30; k <= 30; ++k) {
        attesi << QStringLiteral("p%1").arg(k);
        if (punti.count(attesi.last()) == 2) // where a band ends and the next begins
            attesi << attesi.last();
    }
    EXPECT_EQ(punti, attesi);
    EXPECT_EQ(punti.size(), 61 + tutto.count("segno di f") - 1);
    EXPECT_TRUE(pagine.last().contains("Una nota in fondo al foglio"));
}

// The picture of the first page: A4 at the resolution asked, white, the
// title dark at the top left margin.
TEST(FoglioStudio, LaPrimaPaginaComeImmagine)
{
    const QImage pagina = primaPaginaFoglio(foglioLungo(), 72);
    EXPECT_EQ(pagina.size(), QSize(595, 842));
    EXPECT_EQ(pagina.pixel(10, 10), qRgb(255, 255, 255));
    // "Studio della funzione" in 18-point bold, from 2 cm (57 points) in.
    int scuri = 0;
    for (int y = 57; y < 57 + 20; ++y)
        for (int x = 57; x < 57 + 180; ++x)
            scuri += qGray(pagina.pixel(x, y)) < 100;
    EXPECT_GT(scuri, 200);
    for (int y = 57; y < 57 + 20; ++y)
        EXPECT_EQ(pagina.pixel(50, y), qRgb(255, 255, 255));
}

} // namespace
} // namespace zelvo
