#pragma once

#include <QRect>
#include <QWidget>

namespace ladoton {

class KeyboardDialog;

// Shows the painted keyboard band over the piano-key buttons; mouse clicks go
// through it to the buttons.
class KeyboardOverlay : public QWidget {
    Q_OBJECT
public:
    KeyboardOverlay(KeyboardDialog& dialog, QWidget* parent);

    // The band's place in the window's client area.
    static QRect bandRect();

private:
    KeyboardDialog& dialog_;
};

} // namespace ladoton
