#include "platform/InputMethods.h"

#include <QWidget>

namespace ladoton {

void turnOffInputMethods(QWidget& window) {
    window.setAttribute(Qt::WA_InputMethodEnabled, false);
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        widget->setAttribute(Qt::WA_InputMethodEnabled, false);
        widget->setInputMethodHints(Qt::ImhNone);
    }
}

} // namespace ladoton
