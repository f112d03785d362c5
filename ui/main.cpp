#include "ui/Applicazione.h"
#include "ui/Form1.h"
#include "ui/RigaComando.h"

#include <QApplication>

#include <cstdio>

namespace {

// On X11 or Wayland desktops Qt needs a display; without one it aborts with a
// plugin error. Say plainly what is missing and how to run Zelvo anyway.
bool senzaDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

} // namespace

// Without arguments the program starts on the title window and nothing else;
// it ends when no window is open any more, or from the main window's exit
// button. With arguments it is the command line, which opens no window.
int main(int argc, char *argv[])
{
    if (argc > 1)
        return zelvo::rigaDiComando(argc, argv);
    if (senzaDisplay()) {
        std::fputs("Nessun display: Zelvo è una finestra e qui non c'è uno schermo su cui "
                   "aprirla.\nPer provarlo senza schermo:  xvfb-run -a zelvo\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    zelvo::preparaApplicazione(app);
    zelvo::Form1 titolo;
    titolo.show();
    return QApplication::exec();
}
