#pragma once

#include <QString>

#include <string_view>

class QWidget;

namespace zelvo {

struct StatoCalcolo;

// What assistive technologies and keyboard users need of the main window,
// given once its controls exist: each input named by its caption, each
// result label read with its meaning ("radice = 1"), the lists and the
// status line described, the plot frame made a focus stop (the last of the
// tab order, so the order of the controls stays as it is) that a screen
// reader reads as a picture, and Shift+F10 opening the context menu of the
// plot and of the lists as the menu key does.
void rendiAccessibile(QWidget &form2);

// What the plot shows, in words: the function, the interval, the step, how
// many points were computed, and the status line's account of the points
// where f is not defined or the run stopped. `stato` is as the last run of
// calcolo left it; `messaggio` is that run's status-line message.
QString descrizioneGrafico(std::string_view funzione, const StatoCalcolo &stato,
                           std::string_view messaggio, char separatoreDecimale);

// Has screen readers speak a new status-line message of `form2`.
void annunciaStato(QWidget &form2, const QString &testo);

// Gives the plot frame of `form2` its new description (and tells assistive
// technologies that it changed).
void descriviGrafico(QWidget &form2, const QString &descrizione);

} // namespace zelvo
