#include "ui/Applicazione.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

// The icon lives in zelvo_ui, a static library: without this reference the
// linker would drop it from the program.
static void registraIcona()
{
    Q_INIT_RESOURCE(icona);
}

namespace zelvo {

void preparaApplicazione(QApplication &applicazione)
{
    registraIcona();
    QApplication::setApplicationName(QStringLiteral("zelvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zelvo"));
    QApplication::setDesktopFileName(QStringLiteral("it.zelvo.Zelvo"));
    QIcon icona;
    for (const char *lato : {"48", "128", "256"})
        icona.addFile(QStringLiteral(":/icona/zelvo-%1.png").arg(QLatin1String(lato)));
    QApplication::setWindowIcon(icona);
    // Qt's own Italian texts, from the system's Qt translations (Debian's
    // qt6-translations-l10n); without them the toolkit stays English.
    auto *traduttore = new QTranslator(&applicazione);
    if (traduttore->load(QStringLiteral("qtbase_it"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traduttore);
}

} // namespace zelvo
