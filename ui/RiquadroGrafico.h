#pragma once

#include <QWidget>

namespace zelvo {

// The plot frame as a place the keyboard can reach: a transparent child of
// the main window over the frame that takes the focus with Tab, shows that
// it has it, and opens the graph's menu from the menu key or Shift+F10. It
// draws nothing of the graph, which stays on the window's own surface;
// assistive technologies read it as a picture with a description of what is
// drawn.
class RiquadroGrafico : public QWidget
{
    Q_OBJECT

public:
    explicit RiquadroGrafico(QWidget *finestra);

    // The frame's rectangle in the window, and the few pixels around it
    // where the focus is shown.
    static QRect geometria();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace zelvo
