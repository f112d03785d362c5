#pragma once

#include "plot/Superficie.h"

#include <QPushButton>

#include <optional>

class QPainter;

namespace zelvo {

// A push button whose caption wraps onto centred lines when it is longer than
// the button. A graphical button paints its whole face in its own colour
// (BackColor); a standard one keeps the style's face. With the focus, either
// shows a frame in the highlight colour along its edge.
class Pulsante : public QPushButton
{
    Q_OBJECT

public:
    explicit Pulsante(const QString &testo, QWidget *parent = nullptr);

    // Makes the button graphical with this face colour (0x00BBGGRR).
    void impostaFaccia(Colore colore);

    // Shows the button as the one whose list is on view: sunken, with a dark
    // frame inside its edge; caption and face colour stay.
    void impostaInVista(bool inVista);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<Colore> faccia_;
    bool inVista_ = false;
};

// The focus as every control of the windows shows it: a frame two pixels
// wide in the highlight colour along the inside of `area`.
void segnaFuoco(QPainter &pittore, const QRect &area, const QPalette &palette);

} // namespace zelvo
