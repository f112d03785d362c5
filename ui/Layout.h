#pragma once

#include "plot/Superficie.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <optional>
#include <string_view>

class QWidget;

namespace zelvo {

// What kind of control a row of a layout table describes.
enum class TipoControllo { Etichetta, CasellaTesto, Combo, Pulsante, Lista, Immagine };

// A font as the layouts name it. MS Sans Serif and Verdana are not shipped
// on our platforms: both become DejaVu Sans at the same size and weight.
struct Carattere
{
    enum class Famiglia { MsSansSerif, Verdana };

    Famiglia famiglia = Famiglia::MsSansSerif;
    double punti = 0; // size in points at 15 twips per pixel
    bool grassetto = false;
};

// One row of a window's layout table: geometry in twips from the top left
// corner of the client area, the caption (UTF-8) and how the control looks.
struct Controllo
{
    const char *nome = "";
    TipoControllo tipo = TipoControllo::Etichetta;
    const char *testo = "";
    int sinistra = 0, alto = 0, larghezza = 0, altezza = 0;
    Carattere carattere;
    int tab = 0; // place in the focus order
    bool autoSize = false; // a label that fits itself to its caption
    std::optional<Colore> coloreTesto; // none: the window's foreground
    std::optional<Colore> coloreFaccia; // a graphical button's face
    // What assistive technologies say of it; none: what Qt finds itself.
    // An input is named by its caption and tied to the label showing it
    // (etichetta); a result label is read as its meaning, then its text.
    const char *nomeAccessibile = nullptr;
    const char *descrizione = nullptr; // the longer hint, if any
    const char *etichetta = nullptr; // the name of the caption beside an input
    bool annunciato = false; // a result a command writes: spoken when it changes
};

// The control's rectangle in logical pixels.
QRect rettangolo(const Controllo &controllo);

// The Qt font of a layout font. Its size is set in pixels (points at 15 twips
// per pixel), so the layout holds whatever the screen's DPI.
QFont fontDi(const Carattere &carattere);

// The RGB colour of a 0x00BBGGRR colour (not a system colour).
QColor coloreQt(Colore colore);

// A text of the layers below (UTF-8) as the windows show it.
QString daUtf8(std::string_view testo);

} // namespace zelvo
