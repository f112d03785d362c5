#include "ui/Form2.h"

#include "analysis/Estremi.h"
#include "analysis/Integrale.h"
#include "analysis/Radice.h"
#include "engine/Errori.h"
#include "plot/Calcolo.h"
#include "plot/Griglia.h"
#include "tables/ElencoValori.h"
#include "ui/Etichetta.h"
#include "ui/LayoutForm2.h"
#include "ui/ModelloElenco.h"
#include "ui/Pulsante.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

namespace zelvo {

namespace {

// The client area when the window opens: the whole layout and the status
// line, as a maximized window on a 1024 x 768 screen shows it.
constexpr int larghezzaIniziale = 15360; // twips
constexpr int altezzaIniziale = 10860;

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG, as
// Qt reads them). Only a comma or a point can be typed in a number.
char separatoreDiSistema()
{
    return QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

// The busy cursor for as long as a command runs.
class CursoreOccupato
{
public:
    CursoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreOccupato() { QApplication::restoreOverrideCursor(); }
    CursoreOccupato(const CursoreOccupato &) = delete;
    CursoreOccupato &operator=(const CursoreOccupato &) = delete;
};

QString daUtf8(std::string_view testo)
{
    return QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
}

QComboBox *creaCombo(const Controllo &c, QWidget *finestra)
{
    auto *combo = new QComboBox(finestra);
    combo->setEditable(true);
    // Any typed text is kept as typed: no completion, no new items.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (const char *voce : vociCombo(c.nome))
        combo->addItem(QString::fromUtf8(voce));
    // The edit field shows a hint that is none of the items.
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::fromUtf8(c.testo));
    combo->lineEdit()->setCursorPosition(0);
    return combo;
}

QListView *creaLista(QWidget *finestra)
{
    auto *lista = new QListView(finestra);
    // Rows of one height let the view place any row without measuring the others.
    lista->setUniformItemSizes(true);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setModel(new ModelloElenco(lista));
    return lista;
}

QWidget *creaWidget(const Controllo &c, QWidget *finestra)
{
    const QString testo = QString::fromUtf8(c.testo);
    switch (c.tipo) {
    case TipoControllo::CasellaTesto:
        return new QLineEdit(testo, finestra);
    case TipoControllo::Combo:
        return creaCombo(c, finestra);
    case TipoControllo::Pulsante: {
        auto *pulsante = new Pulsante(testo, finestra);
        if (c.coloreFaccia)
            pulsante->impostaFaccia(*c.coloreFaccia);
        return pulsante;
    }
    case TipoControllo::Lista:
        return creaLista(finestra);
    case TipoControllo::Etichetta:
    case TipoControllo::Immagine: // the main window has no pictures
        break;
    }
    return new Etichetta(testo, c.autoSize, finestra);
}

// One control of the layout, with its name, font, colours and place.
QWidget *creaControllo(const Controllo &c, QWidget *finestra)
{
    QWidget *w = creaWidget(c, finestra);
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
    , stato_(stato ? std::move(stato) : std::make_shared<StatoCalcolo>())
    , separatore_(separatoreDiSistema())
    , funzione_(separatore_)
    , superficie_(rettangoloDaTwips(0, 0, larghezzaIniziale, altezzaIniziale).size(), palette())
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setFont(fontDi(carattereFinestraForm2));
    // paintEvent copies the whole surface, which covers the client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    creaControlli();
    collegaComandi();
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
    LabelStato = static_cast<Etichetta *>(creaControllo(rigaStato, this));

    std::sort(focus.begin(), focus.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focus.size(); ++i)
        setTabOrder(focus[i - 1].second, focus[i].second);

    auto trova = [this](const char *nome) {
        return findChild<QWidget *>(QString::fromUtf8(nome));
    };
    Text1 = static_cast<QLineEdit *>(trova("Text1"));
    Text2 = static_cast<QLineEdit *>(trova("Text2"));
    Text3 = static_cast<QLineEdit *>(trova("Text3"));
    Combo1 = static_cast<QComboBox *>(trova("Combo1"));
    Combo2 = static_cast<QComboBox *>(trova("Combo2"));
    Combo3 = static_cast<QComboBox *>(trova("Combo3"));
    Label7 = static_cast<Etichetta *>(trova("Label7"));
    Label9 = static_cast<Etichetta *>(trova("Label9"));
    Label23 = static_cast<Etichetta *>(trova("Label23"));
    Label13 = static_cast<Etichetta *>(trova("Label13"));
    Label15 = static_cast<Etichetta *>(trova("Label15"));
    Label16 = static_cast<Etichetta *>(trova("Label16"));
    Label20 = static_cast<Etichetta *>(trova("Label20"));
    Label21 = static_cast<Etichetta *>(trova("Label21"));
    const char *nomiPulsanti[] = {"Command2", "Command3", "Command4", "Command6"};
    const char *nomiListe[] = {"List1", "List2", "List3", "List4"};
    for (std::size_t i = 0; i < liste.size(); ++i) {
        pulsantiLista[i] = static_cast<Pulsante *>(trova(nomiPulsanti[i]));
        liste[i] = static_cast<QListView *>(trova(nomiListe[i]));
        modelli[i] = static_cast<ModelloElenco *>(liste[i]->model());
    }
    Text1->setFocus();
}

void Form2::collegaComandi()
{
    const std::pair<const char *, void (Form2::*)()> comandi[] = {
            {"Command1", &Form2::Command1_Click},   {"Command9", &Form2::Command9_Click},
            {"Command10", &Form2::Command10_Click}, {"Command11", &Form2::Command11_Click},
            {"Command8", &Form2::Command8_Click},   {"Command2", &Form2::Command2_Click},
            {"Command3", &Form2::Command3_Click},   {"Command4", &Form2::Command4_Click},
            {"Command6", &Form2::Command6_Click},   {"Command5", &Form2::Command5_Click},
    };
    for (const auto &[nome, gestore] : comandi)
        connect(findChild<QPushButton *>(QString::fromUtf8(nome)), &QPushButton::clicked, this,
                gestore);
}

void Form2::Command1_Click()
{
    comando([this] { calcolo(); });
}

void Form2::Command9_Click()
{
    comando([this] {
        const EsitoRadice esito = cercaRadice(*stato_, funzione_, separatore_);
        scrivi(Label21, esito.Label21);
        calcolo(esito.stato);
    });
}

void Form2::Command10_Click()
{
    comando([this] {
        scrivi(Label20, "");
        scrivi(Label21, "");
        const EsitoEstremo esito = cercaMassimo(*stato_, funzione_, separatore_);
        scrivi(Label13, esito.Label13);
        scrivi(Label16, esito.valore);
        calcolo(esito.stato);
    });
}

void Form2::Command11_Click()
{
    comando([this] {
        scrivi(Label16, "");
        scrivi(Label21, "");
        const EsitoEstremo esito = cercaMinimo(*stato_, funzione_, separatore_);
        scrivi(Label13, esito.Label13);
        scrivi(Label20, esito.valore);
        calcolo(esito.stato);
    });
}

void Form2::Command8_Click()
{
    comando([this] {
        scrivi(Label15, "------");
        const EsitoIntegrale esito = calcolaIntegrale(*stato_, funzione_, separatore_);
        scrivi(Label15, esito.Label15);
        calcolo(esito.stato);
    });
}

void Form2::Command2_Click()
{
    comando([this] { mostraLista(0); });
}

void Form2::Command3_Click()
{
    comando([this] { mostraLista(1); });
}

void Form2::Command4_Click()
{
    comando([this] { mostraLista(2); });
}

void Form2::Command6_Click()
{
    comando([this] { mostraLista(3); });
}

// Ends the program at once: every window disappears, no window is asked
// whether it may close, and the event loop returns.
void Form2::Command5_Click()
{
    for (QWidget *finestra : QApplication::topLevelWidgets())
        finestra->hide();
    QCoreApplication::exit(0);
}

void Form2::mostraLista(std::size_t indice)
{
    pulsantiLista[indice]->impostaFaccia(coloreRosso);
    for (std::size_t i = 0; i < liste.size(); ++i)
        liste[i]->setVisible(i == indice);
    ModelloElenco &modello = *modelli[indice];
    const EsitoElenco esito = riempiElenco(modello.elenco(), *stato_, funzione_, separatore_);
    modello.aggiornato(esito.righe);
    calcolo(esito.stato);
}

void Form2::comando(const std::function<void()> &corpo)
{
    const CursoreOccupato occupato;
    try {
        corpo();
    } catch (const std::bad_alloc &) {
        scriviStato(QStringLiteral("Errore 7: ") + daUtf8(messaggioErrore(7)));
    } catch (const std::exception &e) {
        scriviStato(QStringLiteral("Errore: ") + QString::fromLocal8Bit(e.what()));
    }
    // The controls it wrote repaint themselves; of the surface, what it drew.
    update(superficie_.ritiraCambiato());
}

void Form2::calcolo(std::string_view messaggioComando)
{
    const TestiCalcolo testi {
            Text1->text().toStdString(),         Text2->text().toStdString(),
            Text3->text().toStdString(),         Combo3->currentText().toStdString(),
            Combo1->currentText().toStdString(), Combo2->currentText().toStdString()};
    const EsitoCalcolo esito = zelvo::calcolo(testi, separatore_, funzione_, *stato_, superficie_);
    if (esito.Label23)
        scrivi(Label23, *esito.Label23);
    if (esito.Label7)
        scrivi(Label7, *esito.Label7);
    if (esito.Label9)
        scrivi(Label9, *esito.Label9);
    QString stato = daUtf8(messaggioComando);
    if (!stato.isEmpty() && !esito.stato.empty())
        stato += QStringLiteral("; ");
    scriviStato(stato + daUtf8(esito.stato));
}

void Form2::scrivi(Etichetta *etichetta, std::string_view testo)
{
    etichetta->scrivi(daUtf8(testo));
}

void Form2::scriviStato(const QString &testo)
{
    LabelStato->setText(testo);
    LabelStato->setToolTip(testo);
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
