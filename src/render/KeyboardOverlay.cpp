#include "render/KeyboardOverlay.h"

#include "app/KeyboardDialog.h"

namespace ladoton {

KeyboardOverlay::KeyboardOverlay(KeyboardDialog& dialog, QWidget* parent)
    : QWidget(parent), dialog_(dialog) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(bandRect());
    hide();
}

QRect KeyboardOverlay::bandRect() { return {0, 30, 1024, 180}; }

} // namespace ladoton
