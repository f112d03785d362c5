#include "ui/FormStudio.h"

#include "engine/TestoNumero.h"
#include "tables/EsportaColonne.h"
#include "ui/FoglioStudio.h"
#include "ui/Layout.h"
#include "ui/RigheCorso.h"
#include "ui/ScriviTesto.h"
#include "ui/SegniStudio.h"
#include "ui/TabellaStudio.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>

namespace zelvo {

namespace {

int comeInt(std::size_t n)
{
    return static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
}

// The features table's columns: what each shows of a row (`prima`: the
// row is the first of its part). A new column is one more line here; the
// copies and the file follow.
struct Colonna
{
    const char *intestazione;
    std::string_view (*testo)(const RigaCorso &, bool prima);
    Qt::Alignment allineamento;
};

const std::array kColonne = {
        Colonna {kColonneCorso[0],
                 [](const RigaCorso &r, bool prima) -> std::string_view {
                     return prima ? r.sezione : "";
                 },
                 Qt::AlignLeft},
        Colonna {kColonneCorso[1],
                 [](const RigaCorso &r, bool) -> std::string_view { return r.caratteristica; },
                 Qt::AlignLeft},
        Colonna {kColonneCorso[2], [](const RigaCorso &r, bool) -> std::string_view { return r.x; },
                 Qt::AlignRight},
        Colonna {kColonneCorso[3], [](const RigaCorso &r, bool) -> std::string_view { return r.y; },
                 Qt::AlignRight},
        Colonna {kColonneCorso[4],
                 [](const RigaCorso &r, bool) -> std::string_view { return r.descrizione; },
                 Qt::AlignLeft},
};

RigaTesti intestazione()
{
    RigaTesti t;
    for (const Colonna &c : kColonne)
        t.emplace_back(c.intestazione);
    return t;
}

// The width of a text in a font, from the advances of its characters: exact
// but for kerning, and thousands of times faster than laying the text out,
// which is what sizing a column on 200,000 rows needs. A character outside
// ASCII counts as the font's widest.
class Larghezze
{
public:
    explicit Larghezze(const QFontMetricsF &metrica)
        : largo_(metrica.maxWidth())
    {
        for (std::size_t c = 0; c < avanzamento_.size(); ++c)
            avanzamento_[c] = metrica.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }

    double operator()(std::string_view testo) const
    {
        double l = 0;
        for (const char c : testo) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < avanzamento_.size())
                l += avanzamento_[byte];
            else if ((byte & 0xC0) != 0x80) // the first byte of a character
                l += largo_;
        }
        return l;
    }

private:
    std::array<double, 128> avanzamento_ {};
    double largo_;
};

} // namespace

// The features, one a row, turned into text only for the rows shown.
class ModelloStudio : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : comeInt(righe_.size());
    }

    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(kColonne.size());
    }

    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override
    {
        if (!indice.isValid() || indice.row() >= rowCount())
            return {};
        const auto r = static_cast<std::size_t>(indice.row());
        const RigaCorso &riga = righe_[r];
        const Colonna &colonna = kColonne[static_cast<std::size_t>(indice.column())];
        switch (ruolo) {
        case Qt::DisplayRole:
            return daUtf8(colonna.testo(riga, prima(r)));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(colonna.allineamento | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            // The kind's name in the colour its points are marked in.
            if (indice.column() == 1)
                return coloreQt(coloreSegno(riga.chiave));
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int sezione, Qt::Orientation verso, int ruolo) const override
    {
        if (verso == Qt::Horizontal && ruolo == Qt::DisplayRole && sezione >= 0
            && sezione < columnCount())
            return QString::fromUtf8(kColonne[static_cast<std::size_t>(sezione)].intestazione);
        return QAbstractTableModel::headerData(sezione, verso, ruolo);
    }

    void sostituisci(std::vector<RigaCorso> righe)
    {
        beginResetModel();
        righe_ = std::move(righe);
        endResetModel();
    }

    // The texts of the rows, in table order.
    std::vector<RigaTesti> testi(const std::vector<int> &scelte) const
    {
        std::vector<RigaTesti> t;
        t.reserve(scelte.size());
        for (const int r : scelte) {
            RigaTesti riga;
            for (const Colonna &c : kColonne)
                riga.emplace_back(c.testo(righe_[static_cast<std::size_t>(r)],
                                          prima(static_cast<std::size_t>(r))));
            t.push_back(std::move(riga));
        }
        return t;
    }

    // Each column as wide as its widest text in `vista`: that row is
    // measured as the view measures it, the others only estimated.
    void adattaColonne(QTableView &vista) const
    {
        const Larghezze larghezza(QFontMetricsF(vista.font()));
        for (std::size_t k = 0; k < kColonne.size(); ++k) {
            std::size_t piuLarga = 0;
            double massima = -1;
            for (std::size_t r = 0; r < righe_.size(); ++r)
                if (const double l = larghezza(kColonne[k].testo(righe_[r], prima(r)));
                    l > massima) {
                    massima = l;
                    piuLarga = r;
                }
            const int c = static_cast<int>(k);
            int l = vista.horizontalHeader()->sectionSizeHint(c);
            if (!righe_.empty())
                l = std::max(l, vista.sizeHintForIndex(index(comeInt(piuLarga), c)).width());
            vista.setColumnWidth(c, l);
        }
    }

private:
    bool prima(std::size_t r) const
    {
        return r == 0 || std::string_view(righe_[r - 1].sezione) != righe_[r].sezione;
    }

    std::vector<RigaCorso> righe_;
};

// The chart: its three rows by as many columns as breakpoints and stretches.
class ModelloSchema : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(kRigheSchema.size());
    }

    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : comeInt(schema_.intestazione.size());
    }

    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override
    {
        if (!indice.isValid() || indice.column() >= columnCount())
            return {};
        if (ruolo == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        if (ruolo != Qt::DisplayRole)
            return {};
        return daUtf8(cella(indice.row(), indice.column()));
    }

    QVariant headerData(int sezione, Qt::Orientation verso, int ruolo) const override
    {
        if (ruolo != Qt::DisplayRole || sezione < 0)
            return QAbstractTableModel::headerData(sezione, verso, ruolo);
        if (verso == Qt::Vertical && sezione < rowCount())
            return QString::fromUtf8(kRigheSchema[static_cast<std::size_t>(sezione)]);
        if (verso == Qt::Horizontal && sezione < columnCount())
            return daUtf8(schema_.intestazione[static_cast<std::size_t>(sezione)]);
        return {};
    }

    void sostituisci(zelvo::SchemaStudio schema)
    {
        beginResetModel();
        schema_ = std::move(schema);
        endResetModel();
    }

    // Each column as wide as its breakpoint and its cells. The cells are a
    // handful of signs, each measured once as the view measures it; the
    // breakpoints are estimated, with the header's margins measured on the
    // widest: the chart of a study of 200,000 intervals is sized at once.
    void adattaColonne(QTableView &vista) const
    {
        QHeaderView &testata = *vista.horizontalHeader();
        const Larghezze larghezza(QFontMetricsF(testata.font()));
        const int colonne = columnCount();
        int piuLarga = -1;
        double massima = 0;
        for (int k = 0; k < colonne; ++k)
            if (const double l = larghezza(schema_.intestazione[static_cast<std::size_t>(k)]);
                l > massima) {
                massima = l;
                piuLarga = k;
            }
        // A pixel more than the estimate: kerning never elides a breakpoint.
        const double margini = piuLarga < 0 ? 0 : testata.sectionSizeHint(piuLarga) - massima + 1;

        std::map<std::string, int, std::less<>> celle;
        testata.setUpdatesEnabled(false); // else each column repaints the header up to it
        for (int k = 0; k < colonne; ++k) {
            const std::string &punto = schema_.intestazione[static_cast<std::size_t>(k)];
            int l = punto.empty() ? 0 : static_cast<int>(std::ceil(larghezza(punto) + margini));
            for (int r = 0; r < rowCount(); ++r) {
                const std::string &testo = cella(r, k);
                auto dove = celle.find(testo);
                if (dove == celle.end())
                    dove = celle.emplace(testo, vista.sizeHintForIndex(index(r, k)).width()).first;
                l = std::max(l, dove->second);
            }
            testata.resizeSection(k, l);
        }
        testata.setUpdatesEnabled(true);
    }

private:
    const std::string &cella(int riga, int colonna) const
    {
        return schema_.righe[static_cast<std::size_t>(riga)][static_cast<std::size_t>(colonna)];
    }

    zelvo::SchemaStudio schema_;
};

namespace {

QTableView *creaTabella(const char *nome, QAbstractTableModel *modello, QWidget *finestra)
{
    auto *t = new QTableView(finestra);
    t->setObjectName(QString::fromUtf8(nome));
    t->setModel(modello);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setWordWrap(false);
    t->setTextElideMode(Qt::ElideNone);
    // Rows as tall as their text, all alike: the view never measures them one by one.
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    return t;
}

// "Y = f    a = A    b = B", the function cut short with "…" where the
// window is too narrow for it (the whole text in the tooltip): a long
// expression never widens the window.
class EtichettaFunzione : public QLabel
{
public:
    explicit EtichettaFunzione(QWidget *genitore)
        : QLabel(genitore)
    {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    void imposta(QString funzione, QString intervallo)
    {
        funzione_ = std::move(funzione);
        intervallo_ = std::move(intervallo);
        adatta();
    }

protected:
    void resizeEvent(QResizeEvent *evento) override
    {
        QLabel::resizeEvent(evento);
        adatta();
    }

private:
    void adatta()
    {
        const QString inizio = QStringLiteral("Y = ");
        const QFontMetrics metrica = fontMetrics();
        const int spazio = std::max(
                0, contentsRect().width() - metrica.horizontalAdvance(inizio + intervallo_));
        // No character is narrower than a pixel: what lies beyond the first
        // `spazio` + 1 never shows, and laying out 100,000 characters at each
        // resize would make the window lag.
        const QString visibile
                = metrica.elidedText(funzione_.left(spazio + 1), Qt::ElideRight, spazio);
        setText(inizio + visibile + intervallo_);
        setToolTip(visibile == funzione_ ? QString() : inizio + funzione_ + intervallo_);
    }

    QString funzione_;
    QString intervallo_;
};

} // namespace

FormStudio::FormStudio(std::function<void(const Studio &, const Scuola &)> segna,
                       char separatoreDecimale, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , segna_(std::move(segna))
    , separatore_(separatoreDecimale)
{
    setObjectName(QStringLiteral("FormStudio"));
    setWindowTitle(QStringLiteral("Studio della funzione"));

    LabelFunzione = new EtichettaFunzione(this);
    LabelFunzione->setObjectName(QStringLiteral("LabelFunzione"));
    LabelFunzione->setTextInteractionFlags(Qt::TextSelectableByMouse);

    modelloStudio_ = new ModelloStudio(this);
    TabellaStudio = creaTabella("TabellaStudio", modelloStudio_, this);
    TabellaStudio->verticalHeader()->hide();
    TabellaStudio->setSelectionBehavior(QAbstractItemView::SelectRows);
    TabellaStudio->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TabellaStudio->horizontalHeader()->setStretchLastSection(true);
    TabellaStudio->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *titoloSchema = new QLabel(QStringLiteral("Schema dei segni"), this);
    modelloSchema_ = new ModelloSchema(this);
    SchemaStudio = creaTabella("SchemaStudio", modelloSchema_, this);
    SchemaStudio->setSelectionMode(QAbstractItemView::NoSelection);
    QFont grande = SchemaStudio->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.3);
    SchemaStudio->setFont(grande);
    SchemaStudio->verticalHeader()->setDefaultSectionSize(QFontMetrics(grande).height() + 8);
    SchemaStudio->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    LabelNote = new QLabel(this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    LabelNote->setTextFormat(Qt::PlainText);
    LabelNote->setWordWrap(true);
    LabelNote->setTextInteractionFlags(Qt::TextSelectableByMouse);

    PulsanteSegna = new QPushButton(QStringLiteral("Segna i punti sul grafico"), this);
    PulsanteSegna->setObjectName(QStringLiteral("PulsanteSegna"));
    PulsanteSegna->setToolTip(QStringLiteral(
            "Croci sugli zeri, sugli estremi relativi e sui flessi, quadrati sugli estremi "
            "assoluti, linee tratteggiate sugli asintoti verticali, orizzontali e obliqui, "
            "cerchi vuoti sulle discontinuità eliminabili, agli estremi di un salto un pallino "
            "pieno dove f assume il valore e uno vuoto dove non lo assume, nel colore della "
            "loro riga. "
            "Scompaiono con il prossimo grafico."));
    connect(PulsanteSegna, &QPushButton::clicked, this, [this] { segna_(studio_, scuola_); });
    PulsantePdf = new QPushButton(QStringLiteral("Esporta lo studio (PDF)…"), this);
    PulsantePdf->setObjectName(QStringLiteral("PulsantePdf"));
    PulsantePdf->setToolTip(QStringLiteral(
            "Il foglio dello studio su A4: la funzione, l'intervallo, il grafico con i punti "
            "segnati, la tabella delle caratteristiche e lo schema dei segni."));
    connect(PulsantePdf, &QPushButton::clicked, this, &FormStudio::esportaPdf);
    PulsanteStampa = new QPushButton(QStringLiteral("Stampa…"), this);
    PulsanteStampa->setObjectName(QStringLiteral("PulsanteStampa"));
    PulsanteStampa->setToolTip(QStringLiteral("Lo stesso foglio, sulla stampante."));
    connect(PulsanteStampa, &QPushButton::clicked, this, &FormStudio::stampa);
    auto *pulsanti = new QHBoxLayout;
    for (QPushButton *p : {PulsanteSegna, PulsantePdf, PulsanteStampa})
        pulsanti->addWidget(p);
    pulsanti->addStretch();

    auto *colonna = new QVBoxLayout(this);
    colonna->addWidget(LabelFunzione);
    colonna->addWidget(TabellaStudio, 3);
    colonna->addWidget(titoloSchema);
    colonna->addWidget(SchemaStudio);
    colonna->addWidget(LabelNote);
    colonna->addLayout(pulsanti);

    // As the value lists: Ctrl+C the selected rows, the whole table, the file.
    const auto azione = [this](const char *nome, const char *testo, QKeySequence tasti,
                               void (FormStudio::*esegui)()) {
        auto *a = new QAction(QString::fromUtf8(testo), TabellaStudio);
        a->setObjectName(QString::fromUtf8(nome));
        a->setShortcut(tasti);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, esegui);
        TabellaStudio->addAction(a);
    };
    azione("CopiaRighe", "Copia righe", QKeySequence::Copy, &FormStudio::copiaRighe);
    azione("CopiaTabella", "Copia tabella", {}, &FormStudio::copiaTabella);
    azione("SalvaTabella", "Salva tabella…", {}, &FormStudio::salvaTabella);

    resize(760, 640);
}

void FormStudio::mostra(Studio studio, Scuola scuola, const std::string &funzione, double a,
                        double b)
{
    studio_ = std::move(studio);
    scuola_ = std::move(scuola);
    funzione_ = funzione;
    a_ = a;
    b_ = b;
    testiGrafico_.reset();
    static_cast<EtichettaFunzione *>(LabelFunzione)
            ->imposta(daUtf8(funzione),
                      daUtf8("    a = " + testoNumero(a, separatore_)
                             + "    b = " + testoNumero(b, separatore_)));

    modelloStudio_->sostituisci(righeCorso(studio_, scuola_, separatore_));
    modelloStudio_->adattaColonne(*TabellaStudio);
    // Opened for the first time, the window is as wide as the table's
    // columns, so that no description is cut (within the screen; the
    // table scrolls sideways beyond it).
    if (!isVisible()) {
        int colonne = 0;
        for (int k = 0; k < modelloStudio_->columnCount(); ++k)
            colonne += TabellaStudio->columnWidth(k);
        const QMargins margini = layout()->contentsMargins();
        const int larga = colonne + 2 * TabellaStudio->frameWidth()
                + TabellaStudio->verticalScrollBar()->sizeHint().width() + margini.left()
                + margini.right();
        const QScreen *schermo = screen();
        const int massima = schermo ? schermo->availableGeometry().width() * 9 / 10 : larga;
        resize(std::max(width(), std::min(larga, massima)), height());
    }
    TabellaStudio->scrollToTop();

    modelloSchema_->sostituisci(schemaStudio(studio_, a, b, separatore_));
    modelloSchema_->adattaColonne(*SchemaStudio);
    SchemaStudio->scrollTo(modelloSchema_->index(0, 0));
    // The chart's three rows always show whole; it scrolls only sideways.
    int altezza = SchemaStudio->horizontalHeader()->sizeHint().height()
            + SchemaStudio->horizontalScrollBar()->sizeHint().height()
            + 2 * SchemaStudio->frameWidth();
    for (int r = 0; r < modelloSchema_->rowCount(); ++r)
        altezza += SchemaStudio->rowHeight(r);
    SchemaStudio->setFixedHeight(altezza);

    QString note;
    for (const std::string &n : studio_.note)
        note += (note.isEmpty() ? QString() : QStringLiteral("\n")) + daUtf8(n);
    LabelNote->setText(note);
    LabelNote->setVisible(!note.isEmpty());
    PulsanteSegna->setEnabled(studio_.eseguito);
    PulsantePdf->setEnabled(studio_.eseguito);
    PulsanteStampa->setEnabled(studio_.eseguito);
}

void FormStudio::superato()
{
    PulsanteSegna->setEnabled(false);
}

// The selected rows in table order, a tab between the columns, no header.
void FormStudio::copiaRighe()
{
    std::vector<int> scelte;
    for (const QModelIndex &i : TabellaStudio->selectionModel()->selectedRows())
        scelte.push_back(i.row());
    std::sort(scelte.begin(), scelte.end());
    QGuiApplication::clipboard()->setText(daUtf8(testoColonne({}, modelloStudio_->testi(scelte))));
}

namespace {

std::vector<int> tutte(const QAbstractItemModel &modello)
{
    std::vector<int> r(static_cast<std::size_t>(modello.rowCount()));
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<int>(i);
    return r;
}

} // namespace

void FormStudio::copiaTabella()
{
    QGuiApplication::clipboard()->setText(
            daUtf8(testoColonne(intestazione(), modelloStudio_->testi(tutte(*modelloStudio_)))));
}

void FormStudio::salvaTabella()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salva tabella"),
                                                      QStringLiteral("studio.csv"),
                                                      QStringLiteral("Tabella CSV (*.csv)"));
    if (file.isEmpty())
        return;
    const std::string csv = csvColonne(intestazione(),
                                       modelloStudio_->testi(tutte(*modelloStudio_)), separatore_);
    if (const QString motivo = scriviTesto(file, csv); !motivo.isEmpty()) {
        LabelNote->setText(QStringLiteral("Tabella non salvata in ") + file + QStringLiteral(": ")
                           + motivo);
        LabelNote->show();
    }
}

void FormStudio::impostaGrafico(TestiCalcolo testi)
{
    testiGrafico_ = std::move(testi);
}

FoglioStudio FormStudio::foglio() const
{
    FoglioStudio f;
    f.funzione = funzione_;
    f.a = testoNumero(a_, separatore_);
    f.b = testoNumero(b_, separatore_);
    if (testiGrafico_)
        f.grafico = graficoFoglio(*testiGrafico_, separatore_, studio_, scuola_);
    f.intestazione = intestazione();
    f.righe = modelloStudio_->testi(tutte(*modelloStudio_));
    f.schema = schemaStudio(studio_, a_, b_, separatore_);
    f.note = studio_.note;
    return f;
}

// The sheet as a PDF, whole or not at all; why not in the notes' label.
void FormStudio::esportaPdf()
{
    const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("Esporta lo studio (PDF)"), QStringLiteral("studio.pdf"),
            QStringLiteral("Documento PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    QSaveFile pdf(file);
    if (pdf.open(QIODevice::WriteOnly) && scriviPdfFoglio(foglio(), pdf) && pdf.commit())
        return;
    LabelNote->setText(QStringLiteral("Studio non esportato in ") + file + QStringLiteral(": ")
                       + pdf.errorString());
    LabelNote->show();
}

void FormStudio::stampa()
{
    QPrinter stampante(QPrinter::HighResolution);
    impostaPaginaFoglio(stampante);
    stampante.setDocName(QStringLiteral("Studio della funzione"));
    QPrintDialog dialogo(&stampante, this);
    dialogo.setObjectName(QStringLiteral("DialogoStampa"));
    dialogo.setWindowTitle(QStringLiteral("Stampa lo studio"));
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (!stampaFoglio(foglio(), stampante)) {
        LabelNote->setText(QStringLiteral("Studio non stampato: la stampante non è disponibile"));
        LabelNote->show();
    }
}

} // namespace zelvo
