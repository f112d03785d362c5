#pragma once

#include <QLabel>

#include <algorithm>

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

    // Writes the caption; an auto-size label then fits it.
    void scrivi(const QString &testo)
    {
        setText(testo);
        if (autoSize_)
            resize(sizeHint());
        nominaPerAccessibilita();
    }

    // What the label's text means ("radice ="): assistive technologies then
    // read the label as "radice = 1", or say that it holds no value while it
    // shows only a placeholder of dashes or nothing.
    void impostaSignificato(const QString &significato)
    {
        significato_ = significato.trimmed();
        nominaPerAccessibilita();
    }

private:
    void nominaPerAccessibilita()
    {
        if (significato_.isEmpty())
            return;
        const QString t = text().trimmed();
        const bool vuota
                = std::none_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); });
        const QString nome = significato_
                + (vuota ? QStringLiteral(" nessun valore") : QStringLiteral(" ") + t);
        // Told to assistive technologies only when it changes.
        if (nome != accessibleName())
            setAccessibleName(nome);
    }

    bool autoSize_;
    QString significato_;
};

} // namespace zelvo
