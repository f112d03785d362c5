#include "ui/Form2.h"

namespace zelvo {

Form2::Form2(std::shared_ptr<StatoCalcolo> stato, QWidget *parent)
    : QWidget(parent)
    , stato_(std::move(stato))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
}

Form2::~Form2() = default;

} // namespace zelvo
