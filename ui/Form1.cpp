#include "ui/Form1.h"

#include "ui/Form2.h"
#include "ui/Layout.h"
#include "ui/Pulsante.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>

// The pictures live in zelvo_ui, a static library: without this reference the
// linker would drop them from the program.
static void caricaImmagini()
{
    Q_INIT_RESOURCE(immagini);
}

namespace zelvo {

namespace {

constexpr Colore blu = 0xFF0000; // (0, 0, 255), red in the lowest byte
constexpr Carattere verdana36Grassetto {Carattere::Famiglia::Verdana, 36, true};
constexpr Carattere verdana18Grassetto {Carattere::Famiglia::Verdana, 18, true};

// The window as designed, in twips. A picture's text is its resource; it is
// shown at its own size, one bitmap pixel to 15 twips.
// clang-format off
const Controllo controlli[] = {
//   name        kind                      caption or picture                  left   top  width height font              tab auto  text colour
    {"Label1",   TipoControllo::Etichetta, "Zelvo.  -Morbiana-",                120,  120, 13245,  885, verdana36Grassetto, 0, true,  blu, {}},
    {"Image1",   TipoControllo::Immagine,  ":/immagini/Image1.bmp",               0, 2040,  8490, 4410, {},                 0, false, {},  {}},
    {"Image2",   TipoControllo::Immagine,  ":/immagini/Image2.bmp",            9000, 1920,  5355, 4950, {},                 0, false, {},  {}},
    {"Command1", TipoControllo::Pulsante,  "Alla pagina di grafica e calcoli", 7560, 7440,  6975,  975, verdana18Grassetto, 1, false, {},  {}},
};
// clang-format on

// The space left free to the right of and under the controls, as on their left.
constexpr int margine = 120;

QWidget *crea(const Controllo &c, QWidget *finestra)
{
    const auto testo = QString::fromUtf8(c.testo);
    QWidget *w = nullptr;
    if (c.tipo == TipoControllo::Immagine) {
        auto *immagine = new QLabel(finestra);
        immagine->setPixmap(QPixmap(testo));
        immagine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = immagine;
    } else {
        if (c.tipo == TipoControllo::Pulsante)
            w = new Pulsante(testo, finestra);
        else
            w = new QLabel(testo, finestra);
        w->setFont(fontDi(c.carattere));
    }
    w->setObjectName(QString::fromUtf8(c.nome));
    if (c.coloreTesto) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, coloreQt(*c.coloreTesto));
        w->setPalette(p);
    }
    w->setGeometry(rettangolo(c));
    if (c.autoSize)
        w->resize(w->sizeHint());
    return w;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    caricaImmagini();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));

    // Controls are created in focus order; only the button takes the focus.
    int destra = 0, basso = 0;
    for (const Controllo &c : controlli) {
        crea(c, this);
        destra = std::max(destra, c.sinistra + c.larghezza);
        basso = std::max(basso, c.alto + c.altezza);
    }
    resize(pixelDaTwips(destra + margine), pixelDaTwips(basso + margine));
    setMinimumSize(size()); // nothing of the window is ever cut off

    auto *command1 = findChild<Pulsante *>(QStringLiteral("Command1"));
    connect(command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    command1->setFocus();
}

Form1::~Form1()
{
    // The main window does not outlive the program's title window.
    delete form2_;
}

void Form1::Command1_Click()
{
    if (!form2_) {
        form2_ = new Form2(stato_);
        form2_->setAttribute(Qt::WA_DeleteOnClose);
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

} // namespace zelvo
