// Takes the screenshots of the README and the user guide from the real main
// window, offscreen, under the Italian locale the guide is written for, on
// the examples their texts quote. The pictures are committed under docs/, and
// a test compares them with what this program draws now; to make them again:
//
//     cmake --build BUILD-DIR --target schermate
//
// It needs no display and always draws offscreen, in the style and at the
// scale of no desktop, so that any machine with the same packages (the DejaVu
// fonts) takes the same pixels.

#include "ui/FoglioStudio.h"
#include "ui/Form2.h"
#include "ui/FormStudio.h"
#include "ui/ImmagineGrafico.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <cstdio>

namespace {

using namespace zelvo;

// The inputs as a user types them, and "Grafico".
void disegna(Form2 &form, const char *funzione, const char *a, const char *b, const char *passo)
{
    const auto casella = [&](const char *nome) {
        return form.findChild<QLineEdit *>(QString::fromLatin1(nome));
    };
    casella("Text1")->setText(QString::fromUtf8(funzione));
    casella("Text2")->setText(QString::fromUtf8(a));
    casella("Text3")->setText(QString::fromUtf8(b));
    auto *combo = form.findChild<QComboBox *>(QStringLiteral("Combo3"));
    combo->setCurrentIndex(combo->findText(QString::fromUtf8(passo)));
    form.Command1_Click();
}

bool salva(const QImage &immagine, const QDir &cartella, const char *nome)
{
    const QString percorso = cartella.filePath(QString::fromUtf8(nome));
    if (immagine.save(percorso))
        return true;
    std::fprintf(stderr, "%s: non scritto\n", qPrintable(percorso));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char *impostazione : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                                     "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME"})
        qunsetenv(impostazione);
    qputenv("LC_ALL", "it_IT.UTF-8");
    QApplication app(argc, argv);
    const QDir cartella(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));

    // The whole window after the commands on one function (the minimum would
    // blank the maximum's labels, so it is left out).
    Form2 finestra;
    finestra.show();
    disegna(finestra, "x^3-3*x", "-2", "2,5", "st0.01");
    finestra.Command10_Click();
    finestra.Command9_Click();
    finestra.Command8_Click();
    finestra.Command2_Click();
    QApplication::processEvents();
    bool ok = salva(finestra.grab().toImage(), cartella, "guida-finestra.png");

    // Two humps, the higher one on the left: the maximum is the last rise.
    Form2 gobbe;
    gobbe.show();
    disegna(gobbe, "(x^2-x^4/50)/2-x/4-3", "-8", "7,5", "st0.01");
    ok = salva(immagineGrafico(gobbe.superficie()), cartella, "guida-gobbe.png") && ok;

    // The first page of the study sheet "Esporta lo studio (PDF)…" writes:
    // a hole at 2, a pole at -3, an oblique asymptote.
    Form2 studio;
    studio.show();
    disegna(studio, "(x^2-4)/(x-2)+1/(x+3)", "-5", "5", "st0.01");
    studio.studioFunzione();
    ok = studio.formStudio()
            && salva(primaPaginaFoglio(studio.formStudio()->foglio(), 80), cartella,
                     "guida-foglio.png")
            && ok;
    return ok ? 0 : 1;
}
