#include "ui/Form2.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace zelvo {
namespace {

// The toolkit's own texts are Italian like the rest: a text box's context
// menu, the file dialog's words and its overwrite question.
TEST(Applicazione, TheToolkitSpeaksItalian)
{
    QLineEdit casella;
    std::unique_ptr<QMenu> menu(casella.createStandardContextMenu());
    QStringList voci;
    for (const QAction *a : menu->actions())
        if (!a->text().isEmpty())
            voci << a->text().section('\t', 0, 0);
    EXPECT_EQ(voci,
              (QStringList {"Ann&ulla", "&Rifai", "&Taglia", "&Copia", "&Incolla", "Elimina",
                            "Seleziona tutto"}));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Cerca in:");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save"), "&Salva");
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog",
                                            "%1 already exists.\nDo you want to replace it?")
                        .startsWith("%1 esiste già."));
}

// The title bars name the program beside each window's caption, and every
// window has the program's icon, installed or not.
TEST(Applicazione, TitleBarsNameZelvoAndWindowsHaveItsIcon)
{
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Zelvo");
    Form2 finestra(std::make_shared<StatoCalcolo>());
    EXPECT_EQ(finestra.windowTitle(), "Form2");
    EXPECT_FALSE(finestra.windowIcon().isNull());
    EXPECT_EQ(finestra.windowIcon().pixmap(48, 48).size(), QSize(48, 48));
}

} // namespace
} // namespace zelvo
