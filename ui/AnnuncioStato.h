#pragma once

#include <QWidget>

namespace zelvo {

// What makes a screen reader speak the status line when it changes: screen
// readers read a label only when it has the focus, but they speak a
// notification as soon as it appears. This invisible, empty child of the
// main window is that notification: each new message becomes its name, and
// it is hidden and shown again to appear anew.
class AnnuncioStato : public QWidget
{
    Q_OBJECT

public:
    explicit AnnuncioStato(QWidget *finestra);

    // Announces `testo`; an empty text announces nothing.
    void annuncia(const QString &testo);
};

} // namespace zelvo
