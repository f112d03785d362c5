// The main window opened for a test, and what a user does with it: typing,
// picking combo items, clicking buttons, reading labels, rows and pixels.
#pragma once

#include "ui/Form2.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// A failed comparison of texts shows the texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace zelvo {
namespace {

constexpr QRgb rosso = 0xFFFF0000;
constexpr QRgb magenta = 0xFFFF00FF;

// The user's decimal separator: these tests run under a C and an Italian locale.
inline bool virgola()
{
    return QLocale::system().decimalPoint() == QStringLiteral(",");
}

// A number as the user types and reads it: "0.5" under C, "0,5" under Italian.
inline QString n(QString testo)
{
    return virgola() ? testo.replace('.', ',') : testo;
}

class FinestraDiProva : public ::testing::Test
{
protected:
    void SetUp() override { apri(std::make_shared<StatoCalcolo>()); }

    void apri(std::shared_ptr<StatoCalcolo> stato)
    {
        form = std::make_unique<Form2>(std::move(stato));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template<typename W = QWidget> W *c(const char *nome) const
    {
        auto *w = form->findChild<W *>(QString::fromUtf8(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }

    // Replaces the text of a text box (or a combo's edit field) by typing.
    void digita(const char *nome, const QString &testo)
    {
        QWidget *w = c(nome);
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, testo);
    }

    void scegli(const char *combo, const char *voce)
    {
        auto *box = c<QComboBox>(combo);
        const int i
                = box->findText(QString::fromUtf8(voce), Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(i, 0) << voce;
        box->setCurrentIndex(i);
    }

    void clic(const char *pulsante) { QTest::mouseClick(c<QPushButton>(pulsante), Qt::LeftButton); }

    QString testo(const char *etichetta) const { return c<QLabel>(etichetta)->text(); }

    // The number a label shows, read with the user's separator.
    double valore(const char *etichetta) const
    {
        QString t = testo(etichetta);
        bool ok = false;
        const double v = QLocale::c().toDouble(virgola() ? t.replace(',', '.') : t, &ok);
        EXPECT_TRUE(ok) << etichetta << ": " << testo(etichetta).toStdString();
        return v;
    }

    QImage schermo() const { return form->grab().toImage(); }

    QStringList righe(const char *lista) const
    {
        QStringList r;
        const QAbstractItemModel *m = c<QListView>(lista)->model();
        for (int i = 0; i < m->rowCount(); ++i)
            r << m->index(i, 0).data().toString();
        return r;
    }

    std::unique_ptr<Form2> form;
};

} // namespace
} // namespace zelvo
