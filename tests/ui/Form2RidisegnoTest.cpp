// What a command repaints: the plot frame it drew and the controls it wrote,
// not the whole window.
#include "ui/Form2.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zelvo {
namespace {

// The region each widget was asked to paint.
class Pitture : public QObject
{
public:
    std::map<QString, QRegion> regioni;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint)
            regioni[oggetto->objectName()] += static_cast<QPaintEvent *>(evento)->region();
        return false;
    }
};

class Form2Ridisegno : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("x"));
        form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("-2"));
        clicGrafico(); // focus and captions settle
    }

    // A click of "Grafico" and the repaint it causes: the region each widget painted.
    std::map<QString, QRegion> clicGrafico()
    {
        Pitture pitture;
        form.installEventFilter(&pitture);
        for (QWidget *w : form.findChildren<QWidget *>())
            w->installEventFilter(&pitture);
        QTest::mouseClick(grafico, Qt::LeftButton);
        QApplication::processEvents();
        return pitture.regioni;
    }

    Form2 form;
    QPushButton *grafico = form.findChild<QPushButton *>(QStringLiteral("Command1"));
};

// The frame: twips 500 to 6940 across, 0 to 4480 down.
const QRect cornice(QPoint(33, 0), QPoint(463, 299));

std::string testo(const QRect &r)
{
    return QStringLiteral("(%1, %2)-(%3, %4)")
            .arg(r.left())
            .arg(r.top())
            .arg(r.right())
            .arg(r.bottom())
            .toStdString();
}

TEST_F(Form2Ridisegno, GraficoRepaintsThePlotFrameAndTheButtonOnly)
{
    std::map<QString, QRegion> regioni = clicGrafico();
    // Under the clicked button the window paints too: the button is not opaque.
    const QRegion finestra = regioni[QStringLiteral("Form2")];
    EXPECT_EQ(testo(finestra.subtracted(grafico->geometry()).boundingRect()), testo(cornice));
    regioni.erase(QStringLiteral("Form2"));
    regioni.erase(QStringLiteral("Command1"));
    // The plot frame's focus stop lies over the frame and paints only where
    // the window does.
    const QPoint riquadro
            = form.findChild<QWidget *>(QStringLiteral("RiquadroGrafico"))->geometry().topLeft();
    EXPECT_TRUE(regioni[QStringLiteral("RiquadroGrafico")]
                        .translated(riquadro)
                        .subtracted(finestra)
                        .isEmpty());
    regioni.erase(QStringLiteral("RiquadroGrafico"));
    for (const auto &[nome, regione] : regioni)
        ADD_FAILURE() << nome.toStdString() << " repainted " << regione.boundingRect().x() << ", "
                      << regione.boundingRect().y();
}

TEST_F(Form2Ridisegno, ALabelWithANewCaptionRepaintsItself)
{
    form.findChild<QComboBox *>(QStringLiteral("Combo3"))->setEditText(QStringLiteral("st0.1"));
    const std::map<QString, QRegion> regioni = clicGrafico();
    EXPECT_TRUE(regioni.contains(QStringLiteral("Label23"))); // the step, now 0.1
    EXPECT_FALSE(regioni.contains(QStringLiteral("Label7"))); // the scales, as they were
    EXPECT_FALSE(regioni.contains(QStringLiteral("Label9")));
    EXPECT_FALSE(regioni.contains(QStringLiteral("Command9")));
}

} // namespace
} // namespace zelvo
