#include "ui/Form1.h"

#include "plot/Superficie.h"
#include "ui/Form2.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <cmath>

// The pictures live in zelvo_ui, a static library: without this reference the
// linker would drop them from the program.
static void caricaImmagini()
{
    Q_INIT_RESOURCE(immagini);
}

namespace zelvo {

namespace {

enum class Tipo { Etichetta, Immagine, Pulsante };

// One control of the window as designed, in twips from the top left corner of
// the client area. Verdana is drawn with DejaVu Sans, its nearest free face.
struct Controllo
{
    Tipo tipo;
    const char *nome;
    int left, top, width, height;
    const char *contenuto; // the caption, or the picture's resource
    double punti; // font size in points (0: the control has no text)
    bool grassetto;
    Colore coloreTesto;
    bool autoSize; // fits its one-line caption, keeping its left and top edges
};

constexpr Colore blu = 0xFF0000; // (0, 0, 255), red in the lowest byte

// clang-format off
constexpr Controllo controlli[] = {
    {Tipo::Etichetta, "Label1",    120,  120, 13245,  885, "Zelvo.  -Morbiana-", 36, true, blu, true},
    {Tipo::Immagine,  "Image1",      0, 2040,  8490, 4410, ":/immagini/Image1.bmp", 0, false, coloreTestoPulsante, false},
    {Tipo::Immagine,  "Image2",   9000, 1920,  5355, 4950, ":/immagini/Image2.bmp", 0, false, coloreTestoPulsante, false},
    {Tipo::Pulsante,  "Command1", 7560, 7440,  6975,  975, "Alla pagina di grafica e calcoli", 18, true, coloreTestoPulsante, false},
};
// clang-format on

// The space left free to the right of and under the controls, as on their left.
constexpr int margine = 120;

constexpr int twipsPerPixel = 15;

// The one conversion from the layout's twips to pixels. The layout holds at 15
// twips per pixel, so it is kept whatever the screen's DPI; fonts follow it.
constexpr int pixel(int twips)
{
    return twips / twipsPerPixel;
}

QFont carattere(const Controllo &c)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    // A point is 20 twips.
    font.setPixelSize(static_cast<int>(std::lround(c.punti * 20 / twipsPerPixel)));
    font.setBold(c.grassetto);
    return font;
}

QColor coloreQt(Colore c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

QWidget *crea(const Controllo &c, QWidget *finestra)
{
    const auto testo = QString::fromUtf8(c.contenuto);
    QWidget *w = nullptr;
    switch (c.tipo) {
    case Tipo::Etichetta:
        w = new QLabel(testo, finestra);
        break;
    case Tipo::Immagine: {
        auto *immagine = new QLabel(finestra);
        immagine->setPixmap(QPixmap(testo)); // unscaled, one bitmap pixel per pixel
        immagine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = immagine;
        break;
    }
    case Tipo::Pulsante:
        w = new QPushButton(testo, finestra);
        break;
    }
    w->setObjectName(QString::fromUtf8(c.nome));
    if (c.punti > 0)
        w->setFont(carattere(c));
    if (!eColoreDiSistema(c.coloreTesto)) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, coloreQt(c.coloreTesto));
        w->setPalette(p);
    }
    w->setGeometry(pixel(c.left), pixel(c.top), pixel(c.width), pixel(c.height));
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

    int destra = 0, basso = 0;
    for (const Controllo &c : controlli) {
        crea(c, this);
        destra = std::max(destra, c.left + c.width);
        basso = std::max(basso, c.top + c.height);
    }
    resize(pixel(destra + margine), pixel(basso + margine));

    auto *command1 = findChild<QPushButton *>(QStringLiteral("Command1"));
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
