#include "ui/Form1.h"

namespace zelvo {

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
}

Form1::~Form1() = default;

} // namespace zelvo
