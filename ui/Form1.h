#pragma once

#include "plot/StatoCalcolo.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace zelvo {

class Form2;

// The title window, where the program starts: the title, the two pictures and
// the button that opens the main window. The calculation values belong here,
// not to the main window, so a main window closed and opened again finds them
// as they were while its controls and engine start afresh.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Create the main window on the first click, or when the user closed the
    // previous one; then show it, not modal, in front.
    void Command1_Click();

private:
    std::shared_ptr<StatoCalcolo> stato_ = std::make_shared<StatoCalcolo>();
    // Null before the first click and again once the user closed the main
    // window (it deletes itself on close).
    QPointer<Form2> form2_;
};

} // namespace zelvo
