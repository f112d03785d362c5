#pragma once

#include "plot/StatoCalcolo.h"

#include <QWidget>

#include <memory>

namespace zelvo {

// The main window: every input, command and result, and the plot surface.
// The calculation state is shared with whoever outlives this window (the
// title window), so it survives closing and reopening the main window.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(std::shared_ptr<StatoCalcolo> stato = std::make_shared<StatoCalcolo>(),
                   QWidget *parent = nullptr);
    ~Form2() override;

    StatoCalcolo &stato() const { return *stato_; }

private:
    std::shared_ptr<StatoCalcolo> stato_;
};

} // namespace zelvo
