#include "tests/ui/FinestraDiProva.h"
#include "ui/ImmagineGrafico.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvo {
namespace {

// The main window as assistive technologies read it (through Qt's
// accessibility interfaces, what the AT-SPI bridge hands to a screen reader)
// and as a user without a mouse drives it.
class Accessibilita : public FinestraDiProva
{
protected:
    void SetUp() override
    {
        FinestraDiProva::SetUp();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QAccessibleInterface *interfaccia(const char *nome) const
    {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c(nome));
        EXPECT_NE(i, nullptr) << nome;
        return i;
    }
    std::string nome(const char *controllo) const
    {
        return interfaccia(controllo)->text(QAccessible::Name).toStdString();
    }
    std::string descrizione(const char *controllo) const
    {
        return interfaccia(controllo)->text(QAccessible::Description).toStdString();
    }

    // The widget that has the focus, named as the layout names it.
    std::string fuoco() const
    {
        for (QWidget *w = QApplication::focusWidget(); w && w != form.get(); w = w->parentWidget())
            if (!w->objectName().isEmpty() && w->parentWidget() == form.get())
                return w->objectName().toStdString();
        return "(none)";
    }
    void tasto(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    void tabFino(const char *controllo)
    {
        for (int i = 0; i < 30 && fuoco() != controllo; ++i)
            tasto(Qt::Key_Tab);
        ASSERT_EQ(fuoco(), controllo);
    }
    // Replaces the text of the focused field by typing, as a user would.
    void scriviQui(const QString &testo)
    {
        tasto(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), testo);
    }

    // Shift+F10 on the focused widget; item `scelta` (from 0) of the menu that
    // opens is chosen with Down and Return. Returns the menu's items.
    QStringList menuDaTastiera(int scelta)
    {
        QStringList voci;
        QTimer::singleShot(0, [&] {
            auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!m)
                return;
            for (QAction *a : m->actions())
                voci << a->text();
            for (int i = 0; i <= scelta; ++i) // the first Down lights the first item
                QTest::keyClick(m, Qt::Key_Down);
            QTest::keyClick(m, Qt::Key_Return);
        });
        tasto(Qt::Key_F10, Qt::ShiftModifier);
        QApplication::processEvents();
        // The offscreen platform does not give the window back its
        // activation when a popup closes, as a desktop does.
        QApplication::setActiveWindow(form.get());
        return voci;
    }
};

TEST_F(Accessibilita, InputsListsAndButtonsHaveTheirCaptionsAsNamesAndTheRightRoles)
{
    const struct
    {
        const char *controllo;
        QAccessible::Role ruolo;
        const char *nome;
    } casi[] = {
            {"Text1", QAccessible::EditableText, "Y ="},
            {"Text2", QAccessible::EditableText, "a ="},
            {"Text3", QAccessible::EditableText, "b ="},
            {"List1", QAccessible::List, "Lista1"},
            {"List4", QAccessible::List, "Lista4"},
            {"Command1", QAccessible::Button, "Grafico"},
            {"Command9", QAccessible::Button, "Calcolo radici reali f(x) = 0"},
            {"Command5", QAccessible::Button, "Uscita dall'eseguibile"},
            {"RiquadroGrafico", QAccessible::Graphic, "Grafico"},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.controllo);
        QAccessibleInterface *i = interfaccia(caso.controllo);
        EXPECT_EQ(i->role(), caso.ruolo);
        EXPECT_EQ(i->text(QAccessible::Name).toStdString(), caso.nome);
        EXPECT_TRUE(i->state().focusable);
    }
    // A combo's name on Linux is its text, as Qt has it; its caption reaches
    // the screen reader as the label it is labelled by. Its edit field, where
    // the focus really goes, carries the caption as its name.
    for (const auto &[combo, didascalia] : {std::pair {"Combo1", "Moltiplicatore scale (ascisse)"},
                                            {"Combo2", "Moltiplicatore scale (ordinate)"},
                                            {"Combo3", "Passo di calcolo"}}) {
        SCOPED_TRACE(combo);
        QAccessibleInterface *i = interfaccia(combo);
        EXPECT_EQ(i->role(), QAccessible::ComboBox);
        const auto etichette = i->relations(QAccessible::Label);
        ASSERT_EQ(etichette.size(), 1);
        EXPECT_EQ(etichette.front().first->text(QAccessible::Name), didascalia);
        auto *campo = c<QComboBox>(combo)->lineEdit();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(campo)->text(QAccessible::Name),
                  didascalia);
    }
    EXPECT_EQ(descrizione("Text1"), "Funzione Y = f(X) digitata il linguaggio QBasic");
    EXPECT_EQ(QString::fromStdString(descrizione("Text2")), testo("Label10")); // the separator
    EXPECT_EQ(descrizione("Combo3"), "Distanza tra due punti calcolati");
    EXPECT_EQ(descrizione("List4"),
              "Valori di x e f(x), una riga per punto; il tasto menu o "
              "Maiusc+F10 apre: Copia righe, Copia tabella, Salva tabella…");
    // A caption is the label of its input, as screen readers look it up.
    const auto etichettate = interfaccia("Label2")->relations(QAccessible::Labelled);
    ASSERT_EQ(etichettate.size(), 1);
    EXPECT_EQ(etichettate.front().first->object(), c("Text1"));
    // Values are what is typed.
    digita("Text2", "-3");
    EXPECT_EQ(interfaccia("Text2")->text(QAccessible::Value), "-3");
}

TEST_F(Accessibilita, ResultsAreReadWithTheirMeaning)
{
    EXPECT_EQ(nome("Label21"), "radice = nessun valore"); // the dashes are no value
    EXPECT_EQ(nome("Label15"), "I = nessun valore");
    digita("Text1", "x^2-4");
    digita("Text2", "-3");
    digita("Text3", "3");
    scegli("Combo3", "st0.01");
    clic("Command11"); // blanks the root and the maximum
    clic("Command8");
    clic("Command9");
    EXPECT_EQ(nome("Label21"), "radice = " + testo("Label21").toStdString());
    EXPECT_EQ(nome("Label15"), "I = " + testo("Label15").toStdString());
    EXPECT_EQ(nome("Label13"), "X = " + testo("Label13").toStdString());
    EXPECT_EQ(nome("Label20"), "Ymin. = " + testo("Label20").toStdString());
    EXPECT_EQ(nome("Label16"), "yMax = nessun valore"); // the minimum blanked it
    EXPECT_EQ(nome("Label23"), "St = " + n("0.01").toStdString());
    EXPECT_EQ(nome("Label7"), "Scala ascisse, unità per divisione = 1");
    EXPECT_EQ(descrizione("Label21"), "Radice reale di f(x) = 0 in a–b");
    EXPECT_EQ(interfaccia("Label21")->role(), QAccessible::StaticText);
}

// After a command, a notification appears with what a screen reader must
// say at once: the results it found, then the status line.
TEST_F(Accessibilita, TheResultsAndTheStatusLineAreAnnouncedAsANotification)
{
    QWidget *annuncio = c("AnnuncioStato");
    EXPECT_EQ(interfaccia("AnnuncioStato")->role(), QAccessible::Notification);
    EXPECT_FALSE(annuncio->isVisible());
    digita("Text1", "x^2-4");
    digita("Text2", "-3");
    digita("Text3", "3");
    scegli("Combo3", "st0.01");
    clic("Command1");
    EXPECT_FALSE(annuncio->isVisible()); // nothing to say
    clic("Command9");
    EXPECT_TRUE(annuncio->isVisible());
    EXPECT_EQ(nome("AnnuncioStato"), "radice = " + testo("Label21").toStdString());
    clic("Command11");
    EXPECT_EQ(nome("AnnuncioStato"),
              "X = " + testo("Label13").toStdString()
                      + ". Ymin. = " + testo("Label20").toStdString());
    digita("Text2", "20"); // refused: the reason in a word where X goes, then in full
    clic("Command10");
    EXPECT_TRUE(annuncio->isVisible());
    EXPECT_EQ(QString::fromStdString(nome("AnnuncioStato")),
              "X = " + testo("Label13") + ". " + testo("LabelStato"));
}

TEST_F(Accessibilita, TheGraphSaysWhatIsDrawn)
{
    EXPECT_EQ(descrizione("RiquadroGrafico"),
              "Riquadro del grafico: griglia punteggiata e assi, nessuna funzione tracciata");
    digita("Text1", "Sqr(x)");
    digita("Text2", "-1");
    digita("Text3", "1");
    scegli("Combo3", "st0.1");
    scegli("Combo2", "10/div.");
    clic("Command1");
    // Ten additions of 0.1 stay just under 1: 21 samples from -1; the
    // negative ones are undefined, as the status line says.
    ASSERT_FALSE(testo("LabelStato").isEmpty());
    EXPECT_EQ(QString::fromStdString(descrizione("RiquadroGrafico")),
              "Grafico di Y = Sqr(x) per x da -1 a 1, passo " + n("0.1")
                      + ": 21 punti calcolati; scala 1 per divisione sulle ascisse, 10 sulle "
                        "ordinate. "
                      + testo("LabelStato"));
    digita("Text3", "99");
    clic("Command1");
    EXPECT_EQ(QString::fromStdString(descrizione("RiquadroGrafico")),
              "Grafico di Y = Sqr(x): nessun punto tracciato. " + testo("LabelStato"));
}

// Every focus stop, reached with Tab, looks different with the focus than
// when Tab has moved on.
TEST_F(Accessibilita, FocusIsAlwaysVisible)
{
    digita("Text1", "x");
    clic("Command2"); // List1 shows, with rows
    c("Text1")->setFocus();
    std::vector<std::pair<std::string, QImage>> visti;
    do {
        tasto(Qt::Key_Tab);
        QApplication::processEvents();
        visti.emplace_back(fuoco(), schermo());
    } while (visti.back().first != "Text1" && visti.size() < 30);
    ASSERT_EQ(visti.size(), 18u); // 20 stops, two of them hidden lists, and the graph
    ASSERT_EQ(visti[visti.size() - 2].first, "RiquadroGrafico");
    for (std::size_t i = 0; i + 1 < visti.size(); ++i) {
        const std::string &nome = visti[i].first;
        const QRect zona = c(nome.c_str())->geometry().adjusted(-3, -3, 3, 3);
        EXPECT_NE(visti[i].second.copy(zona), visti[i + 1].second.copy(zona)) << nome;
    }
    // Away from it, the plot frame shows the graph's own pixels again.
    EXPECT_EQ(visti.back().second.copy(rettangoloGrafico()), immagineGrafico(form->superficie()));
}

// The study of a function from the keyboard alone: type, plot, the four
// commands, a list, its table and the graph copied through their menus.
TEST_F(Accessibilita, AFunctionIsStudiedWithTheKeyboardOnly)
{
    c("Text1")->setFocus(); // as when the window opens
    ASSERT_EQ(fuoco(), "Text1");
    QTest::keyClicks(QApplication::focusWidget(), "x^2-1");
    tasto(Qt::Key_Tab);
    scriviQui("2"); // b
    tasto(Qt::Key_Tab);
    scriviQui("-2"); // a
    tabFino("Combo3");
    scriviQui("st0.1");
    tasto(Qt::Key_Return); // Enter in an input presses "Grafico"
    EXPECT_EQ(testo("Label23"), n("0.1"));
    EXPECT_EQ(schermo().pixel(248, 149 + 15), rosso); // (0, -1)

    for (const char *comando : {"Command8", "Command10", "Command11", "Command9"}) {
        tabFino(comando);
        tasto(Qt::Key_Space);
    }
    EXPECT_FALSE(testo("Label15").isEmpty());
    EXPECT_NE(testo("Label21"), "-----------");
    EXPECT_FALSE(testo("Label20").isEmpty());

    tabFino("Command3");
    tasto(Qt::Key_Space); // Lista2
    tabFino("List2");
    const QStringList r = righe("List2");
    ASSERT_EQ(r.size(), 41); // -2 to 2 by 0.1, both ends included
    tasto(Qt::Key_A, Qt::ControlModifier);
    tasto(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), r.join('\n') + "\n");
    QApplication::clipboard()->clear();
    EXPECT_EQ(menuDaTastiera(1), (QStringList {"Copia righe", "Copia tabella", "Salva tabella…"}));
    const std::string tabella = QApplication::clipboard()->text().toStdString();
    EXPECT_NE(tabella, (r.join('\n') + "\n").toStdString());
    QApplication::clipboard()->clear();
    for (QAction *a : c<QListView>("List2")->actions())
        if (a->objectName() == "CopiaTabella")
            a->trigger();
    EXPECT_EQ(tabella, QApplication::clipboard()->text().toStdString());

    // Shift+Tab from the function reaches the graph; its menu copies the picture.
    tabFino("Text1");
    tasto(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(fuoco(), "RiquadroGrafico");
    QApplication::clipboard()->clear();
    EXPECT_EQ(menuDaTastiera(0),
              (QStringList {"Copia grafico", "Salva grafico…", "", "Studio della funzione…"}));
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              immagineGrafico(form->superficie()));
}

// The menu key: Qt delivers it to the focused widget as a keyboard context
// menu event at the widget's cursor rectangle; the graph and the lists answer it.
TEST_F(Accessibilita, TheMenuKeyOpensTheGraphsAndTheListsMenus)
{
    clic("Command2");
    for (const char *nome : {"RiquadroGrafico", "List1"}) {
        SCOPED_TRACE(nome);
        QWidget *w = c(nome);
        w->setFocus(Qt::TabFocusReason);
        QStringList voci;
        QTimer::singleShot(0, [&] {
            if (auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *a : m->actions())
                    voci << a->text();
                m->close();
            }
        });
        const QPoint dove = w->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, dove, w->mapToGlobal(dove));
        QApplication::sendEvent(w, &menu);
        QApplication::processEvents();
        // The graph's: copy, save, a separator and the study; the list's three.
        EXPECT_EQ(voci.size(), std::string(nome) == "List1" ? 3 : 4);
    }
}

} // namespace
} // namespace zelvo
