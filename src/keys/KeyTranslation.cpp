#include "keys/KeyTranslation.h"

#include <QKeyEvent>

namespace ladoton {

int virtualKeyFromScanCode(uint32_t /*x11KeyCode*/, int /*qtKey*/) { return 0; }

int virtualKeyFromQtKey(int qtKey, bool /*keypad*/) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;
    }
    return 0;
}

int virtualKeyFromEvent(const QKeyEvent& event) {
    const int fromPosition = virtualKeyFromScanCode(event.nativeScanCode(), event.key());
    if (fromPosition != 0) {
        return fromPosition;
    }
    return virtualKeyFromQtKey(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
}

} // namespace ladoton
