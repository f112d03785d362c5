#include "ui/Form2.h"

#include "plot/Griglia.h"
#include "ui/Etichetta.h"
#include "ui/LayoutForm2.h"
#include "ui/ModelloElenco.h"
#include "ui/Pulsante.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <vector>

namespace zelvo {

namespace {

// The client area when the window opens: the whole layout and the status
// line, as a maximized window on a 1024 x 768 screen shows it.
constexpr int larghezzaIniziale = 15360; // twips
constexpr int altezzaIniziale = 10860;

QWidget *creaControllo(const Controllo &c, QWidget *finestra)
{
    const QString testo = QString::fromUtf8(c.testo);
    QWidget *w = nullptr;
    switch (c.tipo) {
    case TipoControllo::Etichetta:
    case TipoControllo::Immagine:
        w = new Etichetta(testo, c.autoSize, finestra);
        break;
    case TipoControllo::CasellaTesto: {
        auto *casella = new QLineEdit(testo, finestra);
        casella->setCursorPosition(0);
        w = casella;
        break;
    }
    case TipoControllo::Combo: {
        auto *combo = new QComboBox(finestra);
        combo->setEditable(true);
        // Any typed text is kept as typed: no completion, no new items.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        for (const char *voce : vociCombo(c.nome))
            combo->addItem(QString::fromUtf8(voce));
        // The edit field shows a hint that is none of the items.
        combo->setCurrentIndex(-1);
        combo->setEditText(testo);
        combo->lineEdit()->setCursorPosition(0);
        w = combo;
        break;
    }
    case TipoControllo::Pulsante: {
        auto *pulsante = new Pulsante(testo, finestra);
        if (c.coloreFaccia)
            pulsante->impostaFaccia(*c.coloreFaccia);
        w = pulsante;
        break;
    }
    case TipoControllo::Lista: {
        auto *lista = new QListView(finestra);
        lista->setUniformItemSizes(true);
        lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
        lista->setModel(new ModelloElenco(lista));
        w = lista;
        break;
    }
    }
    w->setObjectName(QString::fromUtf8(c.nome));
    w->setFont(fontDi(c.carattere));
    if (c.coloreTesto) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, coloreQt(*c.coloreTesto));
        w->setPalette(p);
    }
    QRect r = rettangolo(c);
    // An auto-size label never starts narrower than its caption in our fonts.
    if (c.autoSize)
        r.setSize(r.size().expandedTo(w->sizeHint()));
    w->setGeometry(r);
    return w;
}

} // namespace

Form2::Form2(std::shared_ptr<StatoCalcolo> stato, QWidget *parent)
    : QWidget(parent)
    , stato_(std::move(stato))
    , superficie_(rettangoloDaTwips(0, 0, larghezzaIniziale, altezzaIniziale).size(), palette())
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setFont(fontDi(carattereFinestraForm2));
    // paintEvent copies the whole surface, which covers the client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    creaControlli();
    resize(superficie_.dimensione());
    DisegnaGriglia(superficie_);
}

Form2::~Form2() = default;

void Form2::creaControlli()
{
    std::vector<std::pair<int, QWidget *>> focus;
    for (const Controllo &c : layoutForm2()) {
        QWidget *w = creaControllo(c, this);
        if (c.tipo != TipoControllo::Etichetta)
            focus.emplace_back(c.tab, w);
    }
    LabelStato = static_cast<QLabel *>(creaControllo(rigaStato, this));

    std::sort(focus.begin(), focus.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focus.size(); ++i)
        setTabOrder(focus[i - 1].second, focus[i].second);

    auto trova = [this](const char *nome) { return findChild<QWidget *>(QString::fromUtf8(nome)); };
    Text1 = static_cast<QLineEdit *>(trova("Text1"));
    Text2 = static_cast<QLineEdit *>(trova("Text2"));
    Text3 = static_cast<QLineEdit *>(trova("Text3"));
    Combo1 = static_cast<QComboBox *>(trova("Combo1"));
    Combo2 = static_cast<QComboBox *>(trova("Combo2"));
    Combo3 = static_cast<QComboBox *>(trova("Combo3"));
    Label7 = static_cast<QLabel *>(trova("Label7"));
    Label9 = static_cast<QLabel *>(trova("Label9"));
    Label23 = static_cast<QLabel *>(trova("Label23"));
    Label13 = static_cast<QLabel *>(trova("Label13"));
    Label15 = static_cast<QLabel *>(trova("Label15"));
    Label16 = static_cast<QLabel *>(trova("Label16"));
    Label20 = static_cast<QLabel *>(trova("Label20"));
    Label21 = static_cast<QLabel *>(trova("Label21"));
    const char *nomiPulsanti[] = {"Command2", "Command3", "Command4", "Command6"};
    const char *nomiListe[] = {"List1", "List2", "List3", "List4"};
    for (std::size_t i = 0; i < liste.size(); ++i) {
        pulsantiLista[i] = static_cast<Pulsante *>(trova(nomiPulsanti[i]));
        liste[i] = static_cast<QListView *>(trova(nomiListe[i]));
        modelli[i] = static_cast<ModelloElenco *>(liste[i]->model());
    }
    Text1->setFocus();
}

void Form2::paintEvent(QPaintEvent *event)
{
    Form_Paint(event);
}

// The surface keeps what was drawn: a repaint only copies it, so covering,
// uncovering or resizing the window never erases a graph.
void Form2::Form_Paint(QPaintEvent *event)
{
    QPainter pittore(this);
    pittore.drawImage(event->rect(), superficie_.immagine(), event->rect());
}

void Form2::resizeEvent(QResizeEvent *event)
{
    // The surface grows with the window and never shrinks, so nothing drawn is lost.
    superficie_.ridimensiona(superficie_.dimensione().expandedTo(event->size()));
    QWidget::resizeEvent(event);
}

void Form2::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        superficie_.impostaPalette(palette());
    QWidget::changeEvent(event);
}

} // namespace zelvo
