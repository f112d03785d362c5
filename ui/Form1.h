#pragma once

#include <QWidget>

namespace zelvo {

// The title window: the program starts here.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;
};

} // namespace zelvo
