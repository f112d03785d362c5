#pragma once

#include "plot/StatoCalcolo.h"
#include "ui/SuperficieQt.h"

#include <QWidget>

#include <array>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;

namespace zelvo {

class ModelloElenco;
class Pulsante;

// The main window: every input, command and result, and the plot surface.
// The calculation state is shared with whoever outlives this window (the
// title window), so it survives closing and reopening the main window; the
// controls start afresh with every window.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(std::shared_ptr<StatoCalcolo> stato = std::make_shared<StatoCalcolo>(),
                   QWidget *parent = nullptr);
    ~Form2() override;

    StatoCalcolo &stato() const { return *stato_; }
    const SuperficieQt &superficie() const { return superficie_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void creaControlli();
    void Form_Paint(QPaintEvent *event);

    std::shared_ptr<StatoCalcolo> stato_;
    SuperficieQt superficie_;

    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr;
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr, *Combo3 = nullptr;
    QLabel *Label7 = nullptr, *Label9 = nullptr, *Label23 = nullptr;
    QLabel *Label13 = nullptr, *Label15 = nullptr, *Label16 = nullptr, *Label20 = nullptr,
           *Label21 = nullptr;
    QLabel *LabelStato = nullptr;
    std::array<Pulsante *, 4> pulsantiLista{};  // Command2, Command3, Command4, Command6
    std::array<QListView *, 4> liste{};          // List1 to List4
    std::array<ModelloElenco *, 4> modelli{};    // the rows of List1 to List4
};

} // namespace zelvo
