#include "tests/ui/FinestraDiProva.h"
#include "ui/LayoutForm2.h"
#include "ui/Pulsante.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// The main window as it opens; its controls are read by name.
class Form2Layout : public FinestraDiProva
{
protected:
    template<typename W = QWidget> W *controllo(const char *nome) const { return c<W>(nome); }
};

QString testoDi(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *t = qobject_cast<QLineEdit *>(w))
        return t->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *b = qobject_cast<QPushButton *>(w))
        return b->text();
    return {};
}

bool diTipo(QWidget *w, TipoControllo tipo)
{
    switch (tipo) {
    case TipoControllo::Etichetta:
        return qobject_cast<QLabel *>(w) != nullptr;
    case TipoControllo::CasellaTesto:
        return qobject_cast<QLineEdit *>(w) != nullptr;
    case TipoControllo::Combo:
        return qobject_cast<QComboBox *>(w) && qobject_cast<QComboBox *>(w)->isEditable();
    case TipoControllo::Pulsante:
        return qobject_cast<QPushButton *>(w) != nullptr;
    case TipoControllo::Lista:
        return qobject_cast<QListView *>(w) != nullptr;
    case TipoControllo::Immagine:
        return false;
    }
    return false;
}

TEST_F(Form2Layout, EveryControlHasItsKindNameTextFontAndPlace)
{
    ASSERT_EQ(layoutForm2().size(), 47u);
    for (const Controllo &c : layoutForm2()) {
        SCOPED_TRACE(c.nome);
        const auto trovati = form->findChildren<QWidget *>(QString::fromUtf8(c.nome));
        ASSERT_EQ(trovati.size(), 1);
        QWidget *w = trovati.front();
        EXPECT_TRUE(diTipo(w, c.tipo));
        if (std::string_view(c.nome) != "Label10" || virgola()) { // under a point locale, below
            EXPECT_EQ(testoDi(w), QString::fromUtf8(c.testo));
        }
        EXPECT_TRUE(w->isVisible());

        auto px = [](int twips) {
            return static_cast<int>(std::lround(twips / 15.0));
        };
        const QRect tabella(px(c.sinistra), px(c.alto), px(c.larghezza), px(c.altezza));
        EXPECT_EQ(w->pos(), tabella.topLeft());
        if (c.autoSize) // fits its caption: at least the table's size, as wide as the text
            EXPECT_EQ(w->size(), tabella.size().expandedTo(w->sizeHint()));
        else
            EXPECT_EQ(w->size(), tabella.size());

        const QFontInfo font(w->font());
        EXPECT_TRUE(font.family().startsWith(QStringLiteral("DejaVu Sans")))
                << font.family().toStdString();
        EXPECT_EQ(font.pixelSize(), qRound(c.carattere.punti * 4 / 3));
        EXPECT_EQ(font.bold(), c.carattere.grassetto);
        EXPECT_FALSE(font.italic());
        EXPECT_FALSE(font.underline());
    }
}

// A few rows written out in pixels, so that a slip in the conversion or in
// the table shows up as a number a person can check against the screen.
TEST_F(Form2Layout, KeyControlsInPixels)
{
    struct Caso
    {
        const char *nome;
        QRect atteso;
    } casi[] = {
            {"Text1", {96, 656, 537, 33}},    {"Command1", {472, 596, 137, 33}},
            {"Combo3", {776, 600, 233, 24}},  {"Label3", {576, 16, 841, 33}},
            {"List1", {8, 352, 433, 196}},    {"List4", {8, 352, 432, 196}},
            {"Command2", {816, 440, 65, 33}}, {"Command6", {920, 488, 65, 33}},
            {"Text2", {616, 112, 57, 26}},    {"Label1", {584, 112, 33, 17}},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(controllo(c.nome)->geometry(), c.atteso) << c.nome;
    // The note names the separator this system reads in a and b.
    EXPECT_EQ(controllo<QLabel>("Label10")->text(),
              virgola()
                      ? "con \"a\" e \"b\" , se decimali, nella forma con virgola e non con punto"
                      : "con \"a\" e \"b\" , se decimali, nella forma con punto e non con virgola");
    EXPECT_EQ(controllo<QLabel>("Label5")->text(),
              QString::fromUtf8("Campo di variabilità della funzione a_____b"));
    EXPECT_EQ(controllo<QPushButton>("Command8")->text(),
              "Calcolo  integrale def.  su Y = f( x)    nell'intervallo:  a - b");
    EXPECT_EQ(form->objectName(), "Form2");
    EXPECT_EQ(form->windowTitle(), "Form2");
}

TEST_F(Form2Layout, CombosOfferTheirItemsAndShowTheHintWithNothingSelected)
{
    struct Caso
    {
        const char *nome;
        const char *suggerimento;
        QStringList voci;
    } casi[] = {
            {"Combo1",
             "0.01  ;  0.1    :1   ; 10",
             {"", "10/div.", "1/div.", "0.1/div.", "0.01/div."}},
            {"Combo2",
             "0.01  ;  0.1   ;  1 ;   10   ;  100",
             {"", "100/div.", "10/div.", "1/diiv.", "0.1/div.", "0.01/div."}},
            {"Combo3",
             "   0.1;    0. 01;     0.001;    0.0001",
             {"", "st0.1", "st0.01", "st0.001", "st0.0001"}},
    };
    for (const Caso &c : casi) {
        auto *combo = controllo<QComboBox>(c.nome);
        QStringList voci;
        for (int i = 0; i < combo->count(); ++i)
            voci << combo->itemText(i);
        EXPECT_EQ(voci, c.voci) << c.nome;
        EXPECT_EQ(combo->currentIndex(), -1) << c.nome;
        EXPECT_EQ(combo->currentText(), c.suggerimento) << c.nome;
        // Picking the empty first item empties the edit field.
        combo->setCurrentIndex(0);
        EXPECT_EQ(combo->currentText(), "") << c.nome;
    }
}

TEST_F(Form2Layout, TypedTextStaysAsTypedInTextBoxesAndCombos)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    struct Caso
    {
        const char *nome;
        const char *digitato;
    } casi[] = {{"Text2", "abc,5 x"},
                {"Text3", "1.000,5"},
                {"Combo3", "ST0.1"},
                {"Combo1", "100/div. "},
                {"Combo2", "st0.01"}};
    for (const Caso &c : casi) {
        QWidget *w = controllo(c.nome);
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, c.digitato);
        QTest::keyClick(edit, Qt::Key_Return);
        controllo("Text1")->setFocus(); // leaving the field changes nothing either
        EXPECT_EQ(testoDi(w), c.digitato) << c.nome;
    }
    EXPECT_EQ(controllo<QComboBox>("Combo3")->count(), 5);
}

TEST_F(Form2Layout, FocusStartsInText1AndTabFollowsTheFocusOrder)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const std::vector<std::string> ordine
            = {"Text1",    "Text3",    "Text2",           "Command1",  "Combo1",    "Combo2",
               "Command2", "List1",    "Command3",        "List2",     "Command4",  "Command6",
               "List3",    "List4",    "Command8",        "Command10", "Command11", "Command9",
               "Combo3",   "Command5", "RiquadroGrafico", "Text1"};
    auto nomeDelFuoco = [this] {
        for (QWidget *w = QApplication::focusWidget(); w && w != form.get(); w = w->parentWidget())
            if (!w->objectName().isEmpty() && w->parentWidget() == form.get())
                return w->objectName().toStdString();
        return std::string("(none)");
    };
    std::vector<std::string> visti = {nomeDelFuoco()};
    for (std::size_t i = 1; i < ordine.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visti.push_back(nomeDelFuoco());
    }
    EXPECT_EQ(visti, ordine);
}

// Made as small as a user drags it (700 x 450), the window keeps the size it
// opened with, which holds every control a user reaches and the status line:
// nothing is cut off or out of reach. (A label's box may run past the window
// in the layout; its caption does not.)
TEST_F(Form2Layout, TheWindowIsNeverSmallerThanItsLayout)
{
    const QSize apertura = form->size();
    QRect layout = controllo(rigaStato.nome)->geometry();
    for (const Controllo &c : layoutForm2())
        if (c.tipo != TipoControllo::Etichetta)
            layout |= controllo(c.nome)->geometry();
    ASSERT_TRUE(QRect(QPoint(0, 0), apertura).contains(layout))
            << layout.right() << ", " << layout.bottom() << " beyond " << apertura.width() << " x "
            << apertura.height();
    form->resize(700, 450);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), apertura);
    EXPECT_EQ(form->minimumSize(), apertura);
}

TEST_F(Form2Layout, ControlsDoNotOverlapAndEveryCaptionShowsWhole)
{
    // Only the pairs that overlap in the table itself may overlap on screen:
    // the four stacked lists, and Label1 with the 15 twips of Text2 it covers.
    std::vector<Controllo> righe(layoutForm2().begin(), layoutForm2().end());
    righe.push_back(rigaStato);
    std::vector<QWidget *> controlli;
    for (const Controllo &c : righe)
        controlli.push_back(controllo(c.nome));
    auto inTwips = [](const Controllo &c) {
        return QRect(c.sinistra, c.alto, c.larghezza, c.altezza);
    };
    int sovrapposteInTabella = 0;
    for (std::size_t i = 0; i < righe.size(); ++i)
        for (std::size_t j = i + 1; j < righe.size(); ++j) {
            if (inTwips(righe[i]).intersects(inTwips(righe[j]))) {
                ++sovrapposteInTabella;
                continue;
            }
            EXPECT_FALSE(controlli[i]->geometry().intersects(controlli[j]->geometry()))
                    << righe[i].nome << " and " << righe[j].nome;
        }
    EXPECT_EQ(sovrapposteInTabella, 7); // 6 pairs of lists, Label1 and Text2

    for (QWidget *w : controlli) {
        SCOPED_TRACE(w->objectName().toStdString());
        const QFontMetrics fm(w->font());
        if (auto *l = qobject_cast<QLabel *>(w)) {
            // The ink of the one-line caption, drawn from the top left corner.
            const QRect inchiostro = fm.tightBoundingRect(l->text());
            EXPECT_LE(fm.horizontalAdvance(l->text()), l->width());
            EXPECT_LE(fm.ascent() + inchiostro.bottom(), l->height());
        } else if (auto *b = qobject_cast<QPushButton *>(w)) {
            const QRect area = b->rect().adjusted(2, 2, -2, -2);
            const QRect testo
                    = fm.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, b->text());
            EXPECT_TRUE(area.contains(testo)) << testo.width() << "x" << testo.height();
        }
    }
}

TEST_F(Form2Layout, TheWindowShowsTheWholeLayoutWithTheStatusLineBelowIt)
{
    EXPECT_GE(form->width(), 1009);
    EXPECT_GE(form->height(), 689);
    auto *stato = controllo<QLabel>("LabelStato");
    EXPECT_EQ(stato->text(),
              "Scrivere f(x), a e b e premere \"Grafico\"; per lo studio della funzione: Ctrl+T "
              "o il tasto destro sul grafico");
    int fondo = 0;
    for (const Controllo &c : layoutForm2())
        fondo = std::max(fondo, controllo(c.nome)->geometry().bottom());
    EXPECT_EQ(fondo, 688); // Text1's bottom edge: 10332 twips
    EXPECT_GT(stato->geometry().top(), fondo);
    EXPECT_TRUE(form->rect().contains(stato->geometry()));
}

TEST_F(Form2Layout, TheEmptyFrameAndTheColouredControlsAppearOnScreen)
{
    const QImage schermo = form->grab().toImage();
    const QRgb sfondo = form->palette().color(QPalette::Window).rgb();
    const QRgb nero = qRgb(0, 0, 0);
    // Grid dots and axes where twips / 15 puts them, and nothing between.
    EXPECT_EQ(schermo.pixel(33, 0), nero); // (500, 0)
    EXPECT_EQ(schermo.pixel(33, 2), nero); // (500, 28)
    EXPECT_EQ(schermo.pixel(55, 299), nero); // (822, 4480)
    EXPECT_EQ(schermo.pixel(462, 299), nero); // (6926, 4480): the last dot of a row
    EXPECT_EQ(schermo.pixel(463, 1), sfondo); // 14 twips short of the right edge
    EXPECT_EQ(schermo.pixel(463, 4), nero); // (6940, 56) on the last vertical line
    EXPECT_EQ(schermo.pixel(34, 1), sfondo);
    for (int y = 0; y <= 299; ++y)
        ASSERT_EQ(schermo.pixel(248, y), nero) << y; // the vertical axis
    for (int x = 33; x <= 463; ++x)
        ASSERT_EQ(schermo.pixel(x, 149), nero) << x; // the horizontal axis
    EXPECT_EQ(schermo.pixel(240, 310), sfondo); // under the frame

    // List buttons' faces, left of the caption.
    EXPECT_EQ(schermo.pixel(816 + 6, 440 + 16), qRgb(0, 192, 0));
    EXPECT_EQ(schermo.pixel(816 + 6, 486 + 16), qRgb(0, 192, 0));
    EXPECT_EQ(schermo.pixel(920 + 6, 440 + 16), qRgb(0, 255, 0));
    EXPECT_EQ(schermo.pixel(920 + 6, 488 + 16), qRgb(0, 192, 0));
    // The title is blue.
    int blu = 0;
    for (int y = 16; y < 49; ++y)
        for (int x = 576; x < 776; ++x)
            blu += schermo.pixel(x, y) == qRgb(0, 0, 255);
    EXPECT_GT(blu, 100);
}

} // namespace
} // namespace zelvo
