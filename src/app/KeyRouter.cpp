#include "app/KeyRouter.h"

#include "app/KeyboardDialog.h"
#include "keys/VirtualKeys.h"
#include "platform/KeyTranslation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

namespace ladoton {

namespace {
bool isSystemKey(const QKeyEvent& event) {
    return (event.modifiers() & Qt::AltModifier) != 0 || event.key() == Qt::Key_Alt ||
           event.key() == Qt::Key_AltGr || event.key() == Qt::Key_F10;
}
} // namespace

KeyRouter::KeyRouter(KeyboardDialog& dialog) : dialog_(dialog) {
    QApplication::instance()->installEventFilter(this);
}

KeyRouter::~KeyRouter() {
    QApplication::instance()->removeEventFilter(this);
}

bool KeyRouter::isForMainWindow(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    // The menu bar takes the keys itself once Alt has activated it.
    return widget != nullptr && widget->window() == &dialog_ &&
           qobject_cast<QMenuBar*>(widget) == nullptr;
}

// A popup menu or a modal window that opens takes the keyboard, and the key-ups of keys
// held now go to it.
bool KeyRouter::takesKeyboard(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget != &dialog_ && widget->isWindow() &&
           (widget->windowType() == Qt::Popup || widget->isModal());
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && takesKeyboard(watched)) {
        dialog_.keyboard().keyboardLost();
        return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !isForMainWindow(watched)) {
        return false;
    }
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    if (type == QEvent::KeyRelease) {
        // X11 repeats a held key as release and press pairs; only the presses repeat
        // on the keyboards the program was made for. A real release always ends the
        // key, Alt or not, so no note is left sounding.
        if (const int keyCode = heldKeyCodes_.released(keyEvent);
            keyCode != NoKey && !keyEvent.isAutoRepeat()) {
            dialog_.keyboard().releaseKey(keyCode);
        }
        return !isSystemKey(keyEvent);
    }
    if (isSystemKey(keyEvent)) {
        return false;
    }
    if (QApplication::activePopupWidget() != nullptr) {
        // The popup has the keyboard and ended the held keys when it opened; a press that
        // reaches the window now is one the popup passed on (a menu of the menu bar hands
        // the keys it has no use for, X's repeats of a key held over it among them, to the
        // bar and so to the window). Its release will go to the popup, so it plays nothing.
        return true;
    }
    const int keyCode = heldKeyCodes_.pressed(keyEvent);
    if (keyCode == NoKey) {
        return true; // a key without a code plays nothing and types nothing
    }
    dialog_.keyboard().pressKey(keyCode);
    if (keyCode == vk::F1 && !keyEvent.isAutoRepeat()) {
        dialog_.showKeyHelp();
    }
    return true;
}

} // namespace ladoton
