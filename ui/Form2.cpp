#include "ui/Form2.h"

#include "analysis/Estremi.h"
#include "analysis/Integrale.h"
#include "analysis/Radice.h"
#include "analysis/Studio.h"
#include "engine/Errori.h"
#include "engine/TestoNumero.h"
#include "plot/Avanzamento.h"
#include "plot/Calcolo.h"
#include "plot/Griglia.h"
#include "plot/Impostazioni.h"
#include "plot/Spazzata.h"
#include "tables/ElencoValori.h"
#include "tables/EsportaTabella.h"
#include "ui/Accessibilita.h"
#include "ui/Etichetta.h"
#include "ui/FormStudio.h"
#include "ui/ImmagineGrafico.h"
#include "ui/Layout.h"
#include "ui/LayoutForm2.h"
#include "ui/ModelloElenco.h"
#include "ui/Pulsante.h"
#include "ui/ScriviTesto.h"
#include "ui/SegniStudio.h"
#include "ui/SeparatoreDecimale.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>
#include <exception>
#include <limits>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace zelvo {

namespace {

// The client area when the window opens: the whole layout and the status
// line, as a maximized window on a 1024 x 768 screen shows it.
constexpr int larghezzaIniziale = 15360; // twips
constexpr int altezzaIniziale = 10860;

// The status line until the first command: where the study of f is, since
// no control of the window names it.
constexpr const char *kSuggerimentoIniziale
        = "Scrivere f(x), a e b e premere \"Grafico\"; per lo studio della funzione: Ctrl+T "
          "o il tasto destro sul grafico";

// The busy cursor for as long as a command runs.
class CursoreOccupato
{
public:
    CursoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreOccupato() { QApplication::restoreOverrideCursor(); }
    CursoreOccupato(const CursoreOccupato &) = delete;
    CursoreOccupato &operator=(const CursoreOccupato &) = delete;
};

// A command that runs long: after half a second the status line shows how
// far it is, and Esc stops it. Meanwhile the input the user gives (clicks,
// keys) is held back and handed on, in order, when the command has ended, as
// the windows' event model has every event wait for the running handler.
class AvanzamentoFinestra final : public QObject, public Avanzamento
{
public:
    explicit AvanzamentoFinestra(std::function<void(const QString &)> mostra)
        : mostra_(std::move(mostra))
    {
        orologio_.start();
    }

    ~AvanzamentoFinestra() override
    {
        if (filtra_)
            QCoreApplication::instance()->removeEventFilter(this);
        for (auto &[destinatario, evento] : attesa_)
            if (destinatario)
                QCoreApplication::postEvent(destinatario, evento.release());
    }

    bool prosegui(double frazione) override
    {
        if (!std::isnan(frazione))
            frazione_ = frazione;
        const qint64 trascorso = orologio_.elapsed();
        if (trascorso < 500 || trascorso - ultimaVolta_ < 100)
            return !fermato_;
        ultimaVolta_ = trascorso;
        if (!filtra_) {
            QCoreApplication::instance()->installEventFilter(this);
            filtra_ = true;
        }
        mostra_(QStringLiteral("Calcolo in corso: %1 % — Esc per interrompere")
                        .arg(static_cast<int>(frazione_ * 100)));
        QCoreApplication::processEvents();
        return !fermato_;
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        switch (evento->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(evento)->key() == Qt::Key_Escape) {
                fermato_ = true;
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride:
            attesa_.emplace_back(oggetto, std::unique_ptr<QEvent>(evento->clone()));
            return true;
        default:
            return false;
        }
    }

private:
    std::function<void(const QString &)> mostra_;
    QElapsedTimer orologio_;
    qint64 ultimaVolta_ = 0;
    double frazione_ = 0;
    bool fermato_ = false;
    bool filtra_ = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> attesa_;
};

// Typed or pasted text is never cut: the toolkit's default limit (32,767
// characters) would silently evaluate another expression. The engine says
// when a text is too long for it.
void senzaLimite(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
}

QComboBox *creaCombo(const Controllo &c, QWidget *finestra)
{
    auto *combo = new QComboBox(finestra);
    combo->setEditable(true);
    senzaLimite(combo->lineEdit());
    // Any typed text is kept as typed: no completion, no new items.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (const VoceCombo &voce : vociCombo(c.nome))
        combo->addItem(QString::fromUtf8(voce.testo));
    // The edit field shows a hint that is none of the items.
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::fromUtf8(c.testo));
    combo->lineEdit()->setCursorPosition(0);
    return combo;
}

// The focus frame of a list: a sibling just over the whole list (its scroll
// bars, which the list keeps over its own children, included) that paints
// only the frame, and only while the list has the focus.
class CorniceFuoco final : public QWidget
{
public:
    explicit CorniceFuoco(QWidget *controllo)
        : QWidget(controllo->parentWidget())
        , controllo_(controllo)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!controllo_->hasFocus())
            return;
        QPainter pittore(this);
        segnaFuoco(pittore, rect(), palette());
    }

private:
    QWidget *controllo_;
};

// A list of values that shows the focus as the buttons do, along its edge.
class ListaValori final : public QListView
{
public:
    explicit ListaValori(QWidget *finestra)
        : QListView(finestra)
        , cornice_(new CorniceFuoco(this))
    { }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QListView::focusInEvent(event);
        cornice_->update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QListView::focusOutEvent(event);
        cornice_->update();
    }
    void moveEvent(QMoveEvent *event) override
    {
        QListView::moveEvent(event);
        cornice_->setGeometry(geometry());
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QListView::resizeEvent(event);
        cornice_->setGeometry(geometry());
    }

private:
    CorniceFuoco *cornice_;
};

QListView *creaLista(QWidget *finestra)
{
    auto *lista = new ListaValori(finestra);
    // Rows of one height let the view place any row without measuring the others.
    lista->setUniformItemSizes(true);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every digit of a row is seen: rows are never elided, the list scrolls
    // sideways to the widest one.
    lista->setTextElideMode(Qt::ElideNone);
    lista->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Rows are picked as in any list: click, Shift, Ctrl, Ctrl+A.
    lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lista->setContextMenuPolicy(Qt::ActionsContextMenu);
    lista->setModel(new ModelloElenco(lista));
    return lista;
}

QWidget *creaWidget(const Controllo &c, QWidget *finestra)
{
    const QString testo = QString::fromUtf8(c.testo);
    switch (c.tipo) {
    case TipoControllo::CasellaTesto: {
        auto *edit = new QLineEdit(testo, finestra);
        senzaLimite(edit);
        return edit;
    }
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
    rendiAccessibile(*this);
    resize(superficie_.dimensione());
    // Every control stays in reach: the window is never smaller than its layout.
    setMinimumSize(superficie_.dimensione());
    DisegnaGriglia(superficie_);
}

Form2::~Form2() = default;

namespace {

// The controls the layout created, by name.
using Creati = std::unordered_map<std::string_view, QWidget *>;

// A control of the layout as the type the window uses it as, checked once,
// right after the layout created it: a layout that lacks it or gives it
// another kind stops the window from being built at all.
template<class T> T *prendi(const Creati &creati, std::string_view nome)
{
    const auto trovato = creati.find(nome);
    T *controllo = trovato == creati.end() ? nullptr : qobject_cast<T *>(trovato->second);
    if (!controllo)
        throw std::logic_error("Form2: il layout non ha il controllo " + std::string(nome)
                               + " del tipo atteso");
    return controllo;
}

} // namespace

void Form2::creaControlli()
{
    Creati creati;
    std::vector<std::pair<int, QWidget *>> focus;
    for (const Controllo &c : layoutForm2()) {
        QWidget *w = creaControllo(c, this);
        creati.emplace(c.nome, w);
        if (c.tipo != TipoControllo::Etichetta)
            focus.emplace_back(c.tab, w);
    }
    LabelStato = static_cast<Etichetta *>(creaControllo(rigaStato, this));
    LabelStato->setWordWrap(true);
    LabelStato->setText(QString::fromUtf8(kSuggerimentoIniziale));

    std::sort(focus.begin(), focus.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focus.size(); ++i)
        setTabOrder(focus[i - 1].second, focus[i].second);

    Text1 = prendi<QLineEdit>(creati, "Text1");
    Text2 = prendi<QLineEdit>(creati, "Text2");
    Text3 = prendi<QLineEdit>(creati, "Text3");
    Combo1 = prendi<QComboBox>(creati, "Combo1");
    Combo2 = prendi<QComboBox>(creati, "Combo2");
    Combo3 = prendi<QComboBox>(creati, "Combo3");
    Label7 = prendi<Etichetta>(creati, "Label7");
    Label9 = prendi<Etichetta>(creati, "Label9");
    Label23 = prendi<Etichetta>(creati, "Label23");
    Label13 = prendi<Etichetta>(creati, "Label13");
    Label15 = prendi<Etichetta>(creati, "Label15");
    Label16 = prendi<Etichetta>(creati, "Label16");
    Label20 = prendi<Etichetta>(creati, "Label20");
    Label21 = prendi<Etichetta>(creati, "Label21");
    // The note above a and b names the separator this system reads: the
    // layout's words under a comma locale, the point's elsewhere.
    if (separatore_ == '.')
        prendi<Etichetta>(creati, "Label10")
                ->setText(QStringLiteral("con \"a\" e \"b\" , se decimali, nella forma con punto e "
                                         "non con virgola"));
    const char *nomiPulsanti[] = {"Command2", "Command3", "Command4", "Command6"};
    const char *nomiListe[] = {"List1", "List2", "List3", "List4"};
    for (std::size_t i = 0; i < liste.size(); ++i) {
        pulsantiLista[i] = prendi<Pulsante>(creati, nomiPulsanti[i]);
        liste[i] = prendi<QListView>(creati, nomiListe[i]);
        modelli[i] = qobject_cast<ModelloElenco *>(liste[i]->model());
    }
    collegaComandi(creati);
    Text1->setFocus();
}

void Form2::collegaComandi(const Creati &creati)
{
    const std::pair<const char *, void (Form2::*)()> comandi[] = {
            {"Command1", &Form2::Command1_Click},   {"Command9", &Form2::Command9_Click},
            {"Command10", &Form2::Command10_Click}, {"Command11", &Form2::Command11_Click},
            {"Command8", &Form2::Command8_Click},   {"Command2", &Form2::Command2_Click},
            {"Command3", &Form2::Command3_Click},   {"Command4", &Form2::Command4_Click},
            {"Command6", &Form2::Command6_Click},   {"Command5", &Form2::Command5_Click},
    };
    for (const auto &[nome, gestore] : comandi)
        connect(prendi<QPushButton>(creati, nome), &QPushButton::clicked, this, gestore);

    // Enter in an input presses "Grafico", as its click would.
    auto *grafico = prendi<QPushButton>(creati, "Command1");
    for (QLineEdit *ingresso :
         {Text1, Text2, Text3, Combo1->lineEdit(), Combo2->lineEdit(), Combo3->lineEdit()})
        connect(ingresso, &QLineEdit::returnPressed, grafico, &QPushButton::click);

    creaAzioni();
}

void Form2::Command1_Click()
{
    comando([this] {
        calcolo();
        return std::string();
    });
}

// Every command first applies the inputs as they stand, as "Grafico" does, so
// that its result describes the graph the window shows beside it.
void Form2::Command9_Click()
{
    comando([this] {
        scrivi(Label21, ""); // blank until computed: an interrupted command leaves it so
        if (!applicaIngressi(Label21, false))
            return std::string();
        EsitoRadice esito = cercaRadice(*stato_, funzione_, separatore_);
        scrivi(Label21, esito.radice);
        return std::move(esito.stato);
    });
}

void Form2::Command10_Click()
{
    comando([this] {
        scrivi(Label20, "");
        scrivi(Label21, "");
        scrivi(Label13, "");
        scrivi(Label16, "");
        if (!applicaIngressi(Label13, true))
            return std::string();
        EsitoEstremo esito = cercaMassimo(*stato_, funzione_, separatore_);
        scrivi(Label13, esito.x);
        scrivi(Label16, esito.valore);
        return std::move(esito.stato);
    });
}

void Form2::Command11_Click()
{
    comando([this] {
        scrivi(Label16, "");
        scrivi(Label21, "");
        scrivi(Label13, "");
        scrivi(Label20, "");
        if (!applicaIngressi(Label13, true))
            return std::string();
        EsitoEstremo esito = cercaMinimo(*stato_, funzione_, separatore_);
        scrivi(Label13, esito.x);
        scrivi(Label20, esito.valore);
        return std::move(esito.stato);
    });
}

void Form2::Command8_Click()
{
    comando([this] {
        scrivi(Label15, "------");
        if (!applicaIngressi(Label15, false))
            return std::string();
        EsitoIntegrale esito = calcolaIntegrale(*stato_, funzione_, separatore_);
        scrivi(Label15, esito.integrale);
        return std::move(esito.stato);
    });
}

void Form2::Command2_Click()
{
    comando([this] { return mostraLista(0); });
}

void Form2::Command3_Click()
{
    comando([this] { return mostraLista(1); });
}

void Form2::Command4_Click()
{
    comando([this] { return mostraLista(2); });
}

void Form2::Command6_Click()
{
    comando([this] { return mostraLista(3); });
}

// Ends the program at once: every window disappears, no window is asked
// whether it may close, and the event loop returns.
void Form2::Command5_Click()
{
    for (QWidget *finestra : QApplication::topLevelWidgets())
        finestra->hide();
    QCoreApplication::exit(0);
}

std::string Form2::mostraLista(std::size_t indice)
{
    pulsantiLista[indice]->impostaFaccia(coloreRosso);
    for (std::size_t i = 0; i < liste.size(); ++i) {
        liste[i]->setVisible(i == indice);
        pulsantiLista[i]->impostaInVista(i == indice);
    }
    calcolo();
    // The list is filled even when the inputs were refused: it then holds no
    // row, and calcolo's message says why.
    const bool accettati = !verificaRequisiti(*stato_, funzione_, true, separatore_);
    std::string messaggio;
    modelli[indice]->sostituisci(
            [&](ElencoValori &righe) {
                EsitoElenco esito = riempiElenco(righe, *stato_, funzione_, separatore_);
                if (accettati)
                    messaggio = std::move(esito.stato);
            },
            *liste[indice]);
    // A refilled list shows its first row, whatever the last one showed.
    liste[indice]->scrollToTop();
    // What the list holds: the rows stay when the function changes, so its
    // tooltip and the status line say which function, interval and step
    // they were computed for.
    const std::size_t righe = modelli[indice]->elenco().size();
    std::string descrizione;
    if (accettati) {
        const auto numero = [this](double v) {
            return testoNumero(v, separatore_);
        };
        descrizione = Text1->text().toStdString() + ", a = " + numero(stato_->estremoA)
                + ", b = " + numero(stato_->estremoB) + ", passo " + numero(stato_->passo) + " — "
                + std::to_string(righe) + (righe == 1 ? " riga" : " righe");
    }
    liste[indice]->setToolTip(daUtf8(descrizione));
    if (descrizione.empty() || messaggio.empty())
        return descrizione + messaggio;
    return descrizione + "; " + messaggio;
}

bool Form2::applicaIngressi(Etichetta *risultato, bool usaPasso)
{
    calcolo();
    if (const auto rifiuto = verificaRequisiti(*stato_, funzione_, usaPasso, separatore_)) {
        scrivi(risultato, rifiuto->breve);
        return false;
    }
    return true;
}

void Form2::comando(const std::function<std::string()> &corpo)
{
    const CursoreOccupato occupato;
    statoCalcolo_.clear();
    AvanzamentoFinestra avanzamento([this](const QString &testo) { scriviStato(testo); });
    const AmbitoAvanzamento ambito(avanzamento);
    try {
        std::string stato = corpo();
        // Each message once: a list sweeps the graph's own grid, so its count
        // of undefined points is calcolo's, word for word.
        if (!statoCalcolo_.empty() && stato.find(statoCalcolo_) != std::string::npos)
            statoCalcolo_.clear();
        if (!stato.empty() && !statoCalcolo_.empty())
            stato += "; ";
        scriviStato(daUtf8(stato + statoCalcolo_));
    } catch (const Interrotto &) {
        scriviStato(QStringLiteral("Interrotto"));
    } catch (const std::bad_alloc &) {
        scriviStato(QStringLiteral("Errore %1: ").arg(static_cast<int>(MemoriaEsaurita))
                    + daUtf8(messaggioErrore(MemoriaEsaurita)));
    } catch (const std::exception &e) {
        scriviStato(QStringLiteral("Errore: ") + QString::fromLocal8Bit(e.what()));
    }
    // The controls it wrote repaint themselves; of the surface, what it drew.
    update(superficie_.ritiraCambiato());
}

TestiCalcolo Form2::testiDigitati() const
{
    return {Text1->text().toStdString(),         Text2->text().toStdString(),
            Text3->text().toStdString(),         Combo3->currentText().toStdString(),
            Combo1->currentText().toStdString(), Combo2->currentText().toStdString()};
}

void Form2::calcolo()
{
    const TestiCalcolo testi = testiDigitati();
    EsitoCalcolo esito = zelvo::calcolo(testi, separatore_, funzione_, *stato_, superficie_);
    if (esito.passo)
        scrivi(Label23, *esito.passo);
    if (esito.scalaX)
        scrivi(Label7, *esito.scalaX);
    if (esito.scalaY)
        scrivi(Label9, *esito.scalaY);
    statoCalcolo_ = std::move(esito.stato);
    // A combo's text that is none of its items leaves the default: said.
    for (const Controllo &c : layoutForm2())
        if (c.tipo == TipoControllo::Combo) {
            const auto *combo = findChild<QComboBox *>(QString::fromUtf8(c.nome));
            const std::string detto = voceNonRiconosciuta(
                    *impostazioneDi(c.nome), combo->currentText().toStdString(), c.testo);
            if (!detto.empty())
                statoCalcolo_ += (statoCalcolo_.empty() ? "" : " · ") + detto;
        }

    Applicati ora {testi.funzione, stato_->estremoA, stato_->estremoB, stato_->passo,
                   stato_->intervalloAccettato};
    if (applicati_ && *applicati_ != ora)
        svuotaRisultati();
    applicati_ = std::move(ora);
    descriviGrafico(*this, descrizioneGrafico(testi.funzione, *stato_, statoCalcolo_, separatore_));
}

// The results of another function, interval or step describe no graph shown.
void Form2::svuotaRisultati()
{
    for (Etichetta *risultato : {Label21, Label13, Label16, Label20, Label15})
        scrivi(risultato, "");
    if (formStudio_)
        formStudio_->superato();
}

void Form2::scrivi(Etichetta *etichetta, std::string_view testo)
{
    etichetta->scrivi(daUtf8(testo));
}

// The status line shows its whole text: it wraps, and the window grows by
// the height it needs.
void Form2::scriviStato(const QString &testo)
{
    LabelStato->setText(testo);
    annunciaStato(*this, testo);
    const int altezza = std::max(rettangolo(rigaStato).height(),
                                 LabelStato->heightForWidth(LabelStato->width()));
    LabelStato->resize(LabelStato->width(), altezza);
    const int fondo = LabelStato->geometry().bottom() + 1
            + (pixelDaTwips(altezzaIniziale) - rettangolo(rigaStato).bottom() - 1);
    // The window grows to show a long message and gives the height back
    // after a short one, down to what it had before it grew; a height the
    // user set since is left alone.
    if (altezzaImpostata_ != height())
        altezzaPrimaDelloStato_ = 0;
    if (fondo > height()) {
        if (altezzaPrimaDelloStato_ == 0)
            altezzaPrimaDelloStato_ = height();
        resize(width(), fondo);
    } else if (altezzaPrimaDelloStato_ > 0) {
        resize(width(), std::max(fondo, altezzaPrimaDelloStato_));
        if (height() == altezzaPrimaDelloStato_)
            altezzaPrimaDelloStato_ = 0;
    }
    altezzaImpostata_ = height();
}

void Form2::creaAzioni()
{
    auto azione = [](QWidget *dove, const char *nome, const char *testo, QKeySequence tasti,
                     auto &&esegui) {
        auto *a = new QAction(QString::fromUtf8(testo), dove);
        a->setObjectName(QString::fromUtf8(nome));
        a->setShortcut(tasti);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(a, &QAction::triggered, dove, esegui);
        dove->addAction(a);
        return a;
    };
    azioneCopiaGrafico
            = azione(this, "CopiaGrafico", "Copia grafico",
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copiaGrafico(); });
    azioneSalvaGrafico = azione(this, "SalvaGrafico", "Salva grafico…", QKeySequence::Save,
                                [this] { salvaGrafico(); });
    azioneStudio = azione(this, "StudioFunzione", "Studio della funzione…",
                          QKeySequence(Qt::CTRL | Qt::Key_T), [this] { studioFunzione(); });
    for (std::size_t i = 0; i < liste.size(); ++i) {
        QAction *righe = azione(liste[i], "CopiaRighe", "Copia righe", QKeySequence::Copy,
                                [this, i] { copiaRighe(i); });
        righe->setShortcutContext(Qt::WidgetShortcut);
        azione(liste[i], "CopiaTabella", "Copia tabella", {}, [this, i] { copiaTabella(i); });
        azione(liste[i], "SalvaTabella", "Salva tabella…", {}, [this, i] { salvaTabella(i); });
    }
}

// A right click inside the plot frame offers the graph's picture.
void Form2::contextMenuEvent(QContextMenuEvent *event)
{
    if (!rettangoloGrafico().contains(event->pos())) {
        QWidget::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(azioneCopiaGrafico);
    menu.addAction(azioneSalvaGrafico);
    menu.addSeparator();
    menu.addAction(azioneStudio);
    menu.exec(event->globalPos());
}

void Form2::studioFunzione()
{
    comando([this] {
        calcolo();
        const auto rifiuto = verificaRequisiti(*stato_, funzione_, false, separatore_);
        const double a = stato_->estremoA, b = stato_->estremoB;
        if (rifiuto || a > b) {
            if (formStudio_)
                formStudio_->superato();
            return "Studio della funzione: " + (rifiuto ? rifiuto->breve : kNessunCampione);
        }
        // Esc stops the study (Interrotto) before any window is made or changed.
        Studio risultato = studia(funzione_, a, b, separatore_);
        Scuola scuola = studioScuola(funzione_, risultato, a, b);
        if (!formStudio_)
            formStudio_ = new FormStudio(
                    [this](const Studio &studio, const Scuola &corso) {
                        segnaStudio(superficie_, studio, corso, stato_->scalaX, stato_->scalaY);
                        update(superficie_.ritiraCambiato());
                    },
                    separatore_, this);
        formStudio_->mostra(std::move(risultato), std::move(scuola), Text1->text().toStdString(), a,
                            b);
        formStudio_->impostaGrafico(testiDigitati());
        formStudio_->show();
        formStudio_->raise();
        formStudio_->activateWindow();
        return std::string();
    });
}

void Form2::copiaGrafico()
{
    QGuiApplication::clipboard()->setImage(immagineGrafico(superficie_));
}

void Form2::salvaGrafico()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salva grafico"),
                                                      QStringLiteral("grafico.png"),
                                                      QStringLiteral("Immagine PNG (*.png)"));
    if (file.isEmpty())
        return;
    QImageWriter scrittore(file, "png");
    if (!scrittore.write(immagineGrafico(superficie_)))
        scriviStato(QStringLiteral("Grafico non salvato in ") + file + QStringLiteral(": ")
                    + scrittore.errorString());
}

// The selected rows' texts in list order, one a line.
void Form2::copiaRighe(std::size_t lista)
{
    const ElencoValori &elenco = modelli[lista]->elenco();
    std::vector<bool> scelte(elenco.size());
    for (const QItemSelectionRange &r : liste[lista]->selectionModel()->selection())
        for (int k = r.top(); k <= r.bottom(); ++k)
            scelte[static_cast<std::size_t>(k)] = true;
    std::string testo;
    for (std::size_t k = 0; k < scelte.size(); ++k)
        if (scelte[k])
            testo.append(elenco.riga(k)).push_back('\n');
    QGuiApplication::clipboard()->setText(daUtf8(testo));
}

void Form2::copiaTabella(std::size_t lista)
{
    QGuiApplication::clipboard()->setText(daUtf8(testoTabella(modelli[lista]->elenco())));
}

void Form2::salvaTabella(std::size_t lista)
{
    if (modelli[lista]->elenco().size() == 0) {
        scriviStato(QStringLiteral("Lista vuota: niente da salvare; premere prima il suo pulsante "
                                   "per riempirla"));
        return;
    }
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salva tabella"),
                                                      QStringLiteral("tabella.csv"),
                                                      QStringLiteral("Tabella CSV (*.csv)"));
    if (file.isEmpty())
        return;
    const std::string csv = csvTabella(modelli[lista]->elenco(), separatore_);
    if (const QString motivo = scriviTesto(file, csv); !motivo.isEmpty())
        scriviStato(QStringLiteral("Tabella non salvata in ") + file + QStringLiteral(": ")
                    + motivo);
}

void Form2::paintEvent(QPaintEvent *event)
{
    Form_Paint(event);
}

// The surface keeps what was drawn: a repaint only copies it, so covering,
// uncovering or resizing the window never erases a graph.
void Form2::Form_Paint(QPaintEvent *event)
{
    // The surface draws at this screen's device pixels: the graph as sharp as the text.
    superficie_.impostaScala(devicePixelRatioF());
    QPainter pittore(this);
    const QImage &immagine = superficie_.immagineSchermo();
    if (immagine.devicePixelRatio() == 1)
        pittore.drawImage(event->rect(), immagine, event->rect());
    else // one image pixel to one device pixel, within the region Qt clips the painter to
        pittore.drawImage(QPointF(0, 0), immagine);
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
