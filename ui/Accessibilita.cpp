#include "ui/Accessibilita.h"

#include "engine/Ascisse.h"
#include "engine/TestoNumero.h"
#include "plot/StatoCalcolo.h"
#include "ui/AnnuncioStato.h"
#include "ui/Etichetta.h"
#include "ui/LayoutForm2.h"
#include "ui/RiquadroGrafico.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <cstdint>
#include <string>

namespace zelvo {

namespace {

// The plot frame is read as a picture named "Grafico", described by what it shows.
class InterfacciaGrafico : public QAccessibleWidget
{
public:
    explicit InterfacciaGrafico(QWidget *w)
        : QAccessibleWidget(w, QAccessible::Graphic, QStringLiteral("Grafico"))
    { }
};

QAccessibleInterface *fabbrica(const QString &classe, QObject *oggetto)
{
    if (!oggetto || !oggetto->isWidgetType())
        return nullptr;
    auto *w = static_cast<QWidget *>(oggetto);
    if (classe == QLatin1String("zelvo::RiquadroGrafico"))
        return new InterfacciaGrafico(w);
    if (classe == QLatin1String("zelvo::AnnuncioStato"))
        return new QAccessibleWidget(w, QAccessible::Notification);
    return nullptr;
}

// Shift+F10 opens a widget's context menu, as the menu key does: the same
// keyboard event, at the place Qt gives the menu key's (the current row of
// a list).
class MenuDaTastiera : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() != QEvent::KeyPress || !oggetto->isWidgetType())
            return false;
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        if (tasto->key() != Qt::Key_F10 || tasto->modifiers() != Qt::ShiftModifier)
            return false;
        auto *w = static_cast<QWidget *>(oggetto);
        const QPoint dove = w->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, dove, w->mapToGlobal(dove),
                               tasto->modifiers());
        QApplication::sendEvent(w, &menu);
        return true;
    }
};

// An input named by its caption, its longer hint as its description.
void nominaIngresso(QWidget &form2, const Controllo &c)
{
    auto *w = form2.findChild<QWidget *>(QString::fromUtf8(c.nome));
    if (!w)
        return;
    w->setAccessibleName(QString::fromUtf8(c.nomeAccessibile));
    // a and b are described by the note above them, which names the
    // decimal separator this system reads.
    const auto *nota = form2.findChild<QLabel *>(QStringLiteral("Label10"));
    w->setAccessibleDescription(c.descrizione  ? QString::fromUtf8(c.descrizione)
                                        : nota ? nota->text()
                                               : QString());
    // The edit field of a combo is what takes the focus and what a
    // screen reader speaks.
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(w->accessibleName());
        combo->lineEdit()->setAccessibleDescription(w->accessibleDescription());
    }
    if (c.etichetta)
        if (auto *etichetta = form2.findChild<QLabel *>(QString::fromUtf8(c.etichetta)))
            etichetta->setBuddy(w);
}

} // namespace

void rendiAccessibile(QWidget &form2)
{
    static const bool installata = [] {
        QAccessible::installFactory(fabbrica);
        return true;
    }();
    (void)installata;

    auto *menu = new MenuDaTastiera(&form2);
    for (const Controllo &c : layoutForm2()) {
        if (!c.nomeAccessibile)
            continue;
        switch (c.tipo) {
        case TipoControllo::Etichetta: // a result: read with what it means
            if (auto *e = form2.findChild<Etichetta *>(QString::fromUtf8(c.nome))) {
                e->impostaSignificato(QString::fromUtf8(c.nomeAccessibile));
                if (c.descrizione)
                    e->setAccessibleDescription(QString::fromUtf8(c.descrizione));
            }
            break;
        case TipoControllo::Lista:
            if (auto *lista = form2.findChild<QAbstractItemView *>(QString::fromUtf8(c.nome))) {
                lista->setAccessibleName(QString::fromUtf8(c.nomeAccessibile));
                lista->setAccessibleDescription(QString::fromUtf8(c.descrizione));
                lista->installEventFilter(menu);
            }
            break;
        case TipoControllo::CasellaTesto:
        case TipoControllo::Combo:
        case TipoControllo::Pulsante:
        case TipoControllo::Immagine:
            nominaIngresso(form2, c);
            break;
        }
    }
    if (auto *stato = form2.findChild<QLabel *>(QStringLiteral("LabelStato")))
        stato->setAccessibleDescription(QStringLiteral("Riga di stato"));
    new AnnuncioStato(&form2);

    auto *riquadro = new RiquadroGrafico(&form2);
    riquadro->setAccessibleDescription(QStringLiteral(
            "Riquadro del grafico: griglia punteggiata e assi, nessuna funzione tracciata"));
    riquadro->installEventFilter(menu);
    // The last stop of the tab order: the controls keep theirs, and Shift+Tab
    // from the function reaches the graph at once.
    if (auto *uscita = form2.findChild<QWidget *>(QStringLiteral("Command5")))
        QWidget::setTabOrder(uscita, riquadro);
    riquadro->show();
}

QString descrizioneGrafico(std::string_view funzione, const StatoCalcolo &stato,
                           std::string_view messaggio, char separatoreDecimale)
{
    const auto numero = [separatoreDecimale](double v) {
        return daUtf8(testoNumero(v, separatoreDecimale));
    };
    QString d = QStringLiteral("Grafico di Y = ") + daUtf8(funzione);
    if (!stato.intervalloAccettato) {
        d += QStringLiteral(": nessun punto tracciato");
    } else {
        // The sweep's own count.
        const std::uint64_t punti = stato.passo > 0
                ? Ascisse(stato.estremoA, stato.estremoB, stato.passo).quante()
                : 0;
        d += QStringLiteral(" per x da ") + numero(stato.estremoA) + QStringLiteral(" a ")
                + numero(stato.estremoB) + QStringLiteral(", passo ") + numero(stato.passo)
                + QStringLiteral(": ") + QString::number(punti)
                + (punti == 1 ? QStringLiteral(" punto calcolato")
                              : QStringLiteral(" punti calcolati"))
                + QStringLiteral("; scala ") + numero(stato.scalaX / 10)
                + QStringLiteral(" per divisione sulle ascisse, ") + numero(stato.scalaY / 10)
                + QStringLiteral(" sulle ordinate");
    }
    if (!messaggio.empty())
        d += QStringLiteral(". ") + daUtf8(messaggio);
    return d;
}

void annunciaStato(QWidget &form2, const QString &testo)
{
    auto *annuncio = form2.findChild<AnnuncioStato *>();
    if (!annuncio)
        return;
    // The results the command just found come first: a label is read only
    // with the focus, and the user is on the button that found them.
    QStringList parti;
    for (const Controllo &c : layoutForm2()) {
        auto *e = c.annunciato ? form2.findChild<Etichetta *>(QString::fromUtf8(c.nome)) : nullptr;
        if (!e) // not the step and the scales, which every plot rewrites
            continue;
        const QString nome = e->accessibleName();
        const QVariant detto = e->property("zelvo_annunciato");
        e->setProperty("zelvo_annunciato", nome);
        if (nome != detto.toString() && !nome.endsWith(QStringLiteral(" nessun valore")))
            parti << nome;
    }
    if (!testo.isEmpty())
        parti << testo;
    annuncio->annuncia(parti.join(QStringLiteral(". ")));
}

void descriviGrafico(QWidget &form2, const QString &descrizione)
{
    if (auto *riquadro = form2.findChild<RiquadroGrafico *>())
        riquadro->setAccessibleDescription(descrizione);
}

} // namespace zelvo
