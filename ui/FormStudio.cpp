#include "ui/FormStudio.h"

#include "engine/TestoNumero.h"
#include "tables/EsportaColonne.h"
#include "ui/Layout.h"
#include "ui/ScriviTesto.h"
#include "ui/SegniStudio.h"
#include "ui/TabellaStudio.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace zelvo {

namespace {

const RigaTesti kIntestazione = {"caratteristica", "x / da", "y / a"};

QString daUtf8(const std::string &testo)
{
    return QString::fromStdString(testo);
}

QTableWidget *creaTabella(const char *nome, QWidget *finestra)
{
    auto *t = new QTableWidget(finestra);
    t->setObjectName(QString::fromUtf8(nome));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setWordWrap(false);
    t->setTextElideMode(Qt::ElideNone);
    // Rows as tall as their text: the whole study shows without scrolling.
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    return t;
}

QTableWidgetItem *cella(const std::string &testo, Qt::Alignment allineamento)
{
    auto *c = new QTableWidgetItem(daUtf8(testo));
    c->setTextAlignment(allineamento | Qt::AlignVCenter);
    return c;
}

} // namespace

FormStudio::FormStudio(std::function<void(const Studio &)> segna, char separatoreDecimale,
                       QWidget *parent)
    : QWidget(parent, Qt::Window)
    , segna_(std::move(segna))
    , separatore_(separatoreDecimale)
{
    setObjectName(QStringLiteral("FormStudio"));
    setWindowTitle(QStringLiteral("Studio della funzione"));

    LabelFunzione = new QLabel(this);
    LabelFunzione->setObjectName(QStringLiteral("LabelFunzione"));
    LabelFunzione->setTextFormat(Qt::PlainText);
    LabelFunzione->setTextInteractionFlags(Qt::TextSelectableByMouse);

    TabellaStudio = creaTabella("TabellaStudio", this);
    TabellaStudio->setColumnCount(static_cast<int>(kIntestazione.size()));
    QStringList intestazione;
    for (const std::string &t : kIntestazione)
        intestazione << daUtf8(t);
    TabellaStudio->setHorizontalHeaderLabels(intestazione);
    TabellaStudio->verticalHeader()->hide();
    TabellaStudio->setSelectionBehavior(QAbstractItemView::SelectRows);
    TabellaStudio->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TabellaStudio->horizontalHeader()->setStretchLastSection(true);
    TabellaStudio->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *titoloSchema = new QLabel(QStringLiteral("Schema dei segni"), this);
    SchemaStudio = creaTabella("SchemaStudio", this);
    SchemaStudio->setRowCount(static_cast<int>(kRigheSchema.size()));
    QStringList righe;
    for (const char *r : kRigheSchema)
        righe << QString::fromUtf8(r);
    SchemaStudio->setVerticalHeaderLabels(righe);
    SchemaStudio->setSelectionMode(QAbstractItemView::NoSelection);
    SchemaStudio->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
            "assoluti, linee punteggiate sugli asintoti, nel colore della loro riga. "
            "Scompaiono con il prossimo grafico."));
    connect(PulsanteSegna, &QPushButton::clicked, this, [this] { segna_(studio_); });

    auto *colonna = new QVBoxLayout(this);
    colonna->addWidget(LabelFunzione);
    colonna->addWidget(TabellaStudio, 3);
    colonna->addWidget(titoloSchema);
    colonna->addWidget(SchemaStudio);
    colonna->addWidget(LabelNote);
    colonna->addWidget(PulsanteSegna, 0, Qt::AlignLeft);

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

void FormStudio::mostra(Studio studio, const std::string &funzione, double a, double b)
{
    studio_ = std::move(studio);
    LabelFunzione->setText(daUtf8("Y = " + funzione + "    a = " + testoNumero(a, separatore_)
                                  + "    b = " + testoNumero(b, separatore_)));

    const std::vector<RigaStudio> righe = righeStudio(studio_, separatore_);
    TabellaStudio->clearContents();
    TabellaStudio->setRowCount(static_cast<int>(righe.size()));
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const int r = static_cast<int>(i);
        auto *tipo = cella(righe[i].nome, Qt::AlignLeft);
        tipo->setForeground(coloreQt(coloreSegno(righe[i].chiave)));
        TabellaStudio->setItem(r, 0, tipo);
        TabellaStudio->setItem(r, 1, cella(righe[i].primo, Qt::AlignRight));
        TabellaStudio->setItem(r, 2, cella(righe[i].secondo, Qt::AlignRight));
    }
    TabellaStudio->resizeColumnsToContents();

    const zelvo::SchemaStudio schema = schemaStudio(studio_, a, b, separatore_);
    SchemaStudio->clearContents();
    SchemaStudio->setColumnCount(static_cast<int>(schema.intestazione.size()));
    QStringList intestazione;
    for (const std::string &x : schema.intestazione)
        intestazione << daUtf8(x);
    SchemaStudio->setHorizontalHeaderLabels(intestazione);
    for (std::size_t r = 0; r < schema.righe.size(); ++r)
        for (std::size_t k = 0; k < schema.righe[r].size(); ++k)
            SchemaStudio->setItem(static_cast<int>(r), static_cast<int>(k),
                                  cella(schema.righe[r][k], Qt::AlignHCenter));
    // The chart's three rows always show whole; it scrolls only sideways.
    int altezza = SchemaStudio->horizontalHeader()->sizeHint().height()
            + SchemaStudio->horizontalScrollBar()->sizeHint().height()
            + 2 * SchemaStudio->frameWidth();
    for (int r = 0; r < SchemaStudio->rowCount(); ++r)
        altezza += SchemaStudio->rowHeight(r);
    SchemaStudio->setFixedHeight(altezza);

    QString note;
    for (const std::string &n : studio_.note)
        note += (note.isEmpty() ? QString() : QStringLiteral("\n")) + daUtf8(n);
    LabelNote->setText(note);
    LabelNote->setVisible(!note.isEmpty());
    PulsanteSegna->setEnabled(studio_.eseguito);
}

void FormStudio::superato()
{
    PulsanteSegna->setEnabled(false);
}

namespace {

std::vector<RigaTesti> righeDi(const QTableWidget &t, const std::set<int> &scelte)
{
    std::vector<RigaTesti> righe;
    for (const int r : scelte) {
        RigaTesti riga;
        for (int k = 0; k < t.columnCount(); ++k)
            riga.push_back(t.item(r, k) ? t.item(r, k)->text().toStdString() : std::string());
        righe.push_back(std::move(riga));
    }
    return righe;
}

std::set<int> tutte(const QTableWidget &t)
{
    std::set<int> r;
    for (int i = 0; i < t.rowCount(); ++i)
        r.insert(i);
    return r;
}

} // namespace

// The selected rows in table order, a tab between the columns, no header.
void FormStudio::copiaRighe()
{
    std::set<int> scelte;
    for (const QModelIndex &i : TabellaStudio->selectionModel()->selectedRows())
        scelte.insert(i.row());
    QGuiApplication::clipboard()->setText(
            daUtf8(testoColonne({}, righeDi(*TabellaStudio, scelte))));
}

void FormStudio::copiaTabella()
{
    QGuiApplication::clipboard()->setText(
            daUtf8(testoColonne(kIntestazione, righeDi(*TabellaStudio, tutte(*TabellaStudio)))));
}

void FormStudio::salvaTabella()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salva tabella"),
                                                      QStringLiteral("studio.csv"),
                                                      QStringLiteral("Tabella CSV (*.csv)"));
    if (file.isEmpty())
        return;
    const std::string csv = csvColonne(kIntestazione,
                                       righeDi(*TabellaStudio, tutte(*TabellaStudio)), separatore_);
    if (const QString motivo = scriviTesto(file, csv); !motivo.isEmpty()) {
        LabelNote->setText(QStringLiteral("Tabella non salvata in ") + file + QStringLiteral(": ")
                           + motivo);
        LabelNote->show();
    }
}

} // namespace zelvo
