#pragma once

#include <QLabel>

namespace zelvo {

// A label as the layouts have it: opaque, top-left aligned, one line. An
// auto-size label fits itself to its caption each time the caption is
// written, keeping its left and top edges.
class Etichetta : public QLabel
{
    Q_OBJECT

public:
    Etichetta(const QString &testo, bool autoSize, QWidget *parent = nullptr)
        : QLabel(testo, parent)
        , autoSize_(autoSize)
    {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setAutoFillBackground(true);
        setWordWrap(false);
        setTextFormat(Qt::PlainText);
    }

    bool autoSize() const { return autoSize_; }

    // Writes the caption; an auto-size label then fits it.
    void scrivi(const QString &testo)
    {
        setText(testo);
        if (autoSize_)
            resize(sizeHint());
    }

private:
    bool autoSize_;
};

} // namespace zelvo
