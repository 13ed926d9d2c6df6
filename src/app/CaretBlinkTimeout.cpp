#include "app/CaretBlinkTimeout.h"

#include <QApplication>
#include <QEvent>

namespace ladoton {

namespace {
bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}
} // namespace

CaretBlinkTimeout::CaretBlinkTimeout(int timeoutMs)
    : flashTimeMs_(QApplication::cursorFlashTime()) {
    timeout_.setSingleShot(true);
    timeout_.setInterval(timeoutMs);
    connect(&timeout_, &QTimer::timeout, this, &CaretBlinkTimeout::stopBlinking);
    QApplication::instance()->installEventFilter(this);
    timeout_.start();
}

CaretBlinkTimeout::~CaretBlinkTimeout() {
    QApplication::setCursorFlashTime(flashTimeMs_);
}

bool CaretBlinkTimeout::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (isInput(event->type())) {
        if (QApplication::cursorFlashTime() != flashTimeMs_) {
            QApplication::setCursorFlashTime(flashTimeMs_);
        }
        timeout_.start();
    }
    return false;
}

void CaretBlinkTimeout::stopBlinking() {
    // Edits leave their carets shown when the flash time is 0.
    QApplication::setCursorFlashTime(0);
}

} // namespace ladoton
