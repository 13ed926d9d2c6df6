#include "platform/KeyRepeat.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace ladoton {

void requestPressOnlyKeyRepeat() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) {
        return;
    }
    Bool supported = False;
    XkbSetDetectableAutoRepeat(x11->display(), True, &supported);
}

} // namespace ladoton
