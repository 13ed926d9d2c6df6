#include "app/KeyRouter.h"

#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"
#include "platform/KeyTranslation.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

namespace ladoton {

namespace {
bool isSystemKey(const QKeyEvent& event) {
    return (event.modifiers() & Qt::AltModifier) != 0 || event.key() == Qt::Key_Alt ||
           event.key() == Qt::Key_AltGr || event.key() == Qt::Key_F10;
}
} // namespace

// The last of the application's filters, installed before any other: it takes every key that
// the router handed on and the screen reader's bridge did not hold back.
class KeyRouter::Backstop final : public QObject {
  public:
    explicit Backstop(KeyRouter& router) : router_(router) {
        QApplication::instance()->installEventFilter(this);
    }
    ~Backstop() override { QApplication::instance()->removeEventFilter(this); }
    Backstop(const Backstop&) = delete;
    Backstop& operator=(const Backstop&) = delete;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event != router_.handingOn_) {
            return false;
        }
        router_.handingOn_ = nullptr;
        router_.handedOn_.pop_back();
        return true;
    }

  private:
    KeyRouter& router_;
};

namespace {
// Keys the bridge keeps back for good (the screen reader's own commands) are forgotten
// after this many.
constexpr std::size_t HandedOnLimit = 16;
} // namespace

KeyRouter::KeyRouter(QWidget& window, Keyboard& keyboard, std::function<void()> showKeyHelp)
    : window_(window), keyboard_(keyboard), showKeyHelp_(std::move(showKeyHelp)),
      backstop_(new Backstop(*this)) {
    QApplication::instance()->installEventFilter(this);
}

KeyRouter::~KeyRouter() {
    QApplication::instance()->removeEventFilter(this);
    delete backstop_;
}

bool KeyRouter::isForMainWindow(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    // The menu bar takes the keys itself once Alt has activated it.
    return widget != nullptr && widget->window() == &window_ &&
           qobject_cast<QMenuBar*>(widget) == nullptr;
}

// A popup menu or a modal window that opens takes the keyboard, and the key-ups of keys
// held now go to it.
bool KeyRouter::takesKeyboard(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget != &window_ && widget->isWindow() &&
           (widget->windowType() == Qt::Popup || widget->isModal());
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && takesKeyboard(watched)) {
        keyboard_.keyboardLost();
        return false;
    }
    if (watched == &window_ && QAccessible::isActive()) {
        if (type == QEvent::WindowActivate) {
            keepInFront();
        } else if (type == QEvent::WindowDeactivate) {
            down_.reset(); // the keys' releases go elsewhere now
        }
    }
    handingOn_ = nullptr;
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    if (QAccessible::isActive()) {
        return filterBesideScreenReader(watched, keyEvent);
    }
    return isForMainWindow(watched) && route(keyEvent);
}

// Qt hands a key first to the window, where the screen reader's bridge takes it, and then to
// the focused widget. The router plays it at the window, before the bridge; what goes on to
// a widget is what the window let through (Alt combinations, the menu bar's keys).
bool KeyRouter::filterBesideScreenReader(QObject* watched, const QKeyEvent& keyEvent) {
    if (watched != window_.windowHandle() || !isForMainWindow(keyTarget())) {
        return false;
    }
    if (!keyEvent.spontaneous()) {
        if (isReturnedByScreenReader(keyEvent)) {
            return true;
        }
        // The bridge got in front and held this key back: it plays late, and the router goes
        // in front again for the next.
        keepInFront();
        return route(keyEvent);
    }
    return route(keyEvent) && handOnToScreenReader(keyEvent);
}

QWidget* KeyRouter::keyTarget() const {
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && focused->window() == &window_ ? focused : &window_;
}

bool KeyRouter::route(const QKeyEvent& keyEvent) {
    if (keyEvent.type() == QEvent::KeyRelease) {
        // X11 repeats a held key as release and press pairs; only the presses repeat
        // on the keyboards the program was made for. A real release always ends the
        // key, Alt or not, so no note is left sounding.
        if (const int keyCode = heldKeyCodes_.released(keyEvent);
            keyCode != NoKey && !keyEvent.isAutoRepeat()) {
            keyboard_.releaseKey(keyCode);
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
    keyboard_.pressKey(keyCode);
    if (keyCode == vk::F1 && !keyEvent.isAutoRepeat()) {
        showKeyHelp_();
    }
    return true;
}

// The screen reader hears a key once: its press and its release, no repeat in between.
bool KeyRouter::handOnToScreenReader(const QKeyEvent& keyEvent) {
    if (repeatsHeldKey(keyEvent)) {
        return true;
    }
    if (handedOn_.size() == HandedOnLimit) {
        handedOn_.pop_front();
    }
    handedOn_.push_back({keyEvent.type(), keyEvent.key(), keyEvent.nativeScanCode()});
    handingOn_ = &keyEvent;
    return false;
}

bool KeyRouter::repeatsHeldKey(const QKeyEvent& keyEvent) {
    const quint32 key = keyEvent.nativeScanCode();
    if (key == 0 || key >= down_.size()) {
        return keyEvent.isAutoRepeat();
    }
    const bool wasDown = down_[key];
    down_[key] = keyEvent.type() == QEvent::KeyPress;
    return keyEvent.isAutoRepeat() || (wasDown && down_[key]);
}

// The bridge gives back a copy of each key it held, in the order it got them; those it kept
// for good are passed over.
bool KeyRouter::isReturnedByScreenReader(const QKeyEvent& keyEvent) {
    for (auto held = handedOn_.begin(); held != handedOn_.end(); ++held) {
        if (held->type == keyEvent.type() && held->key == keyEvent.key() &&
            held->scanCode == keyEvent.nativeScanCode()) {
            handedOn_.erase(handedOn_.begin(), held + 1);
            return true;
        }
    }
    return false;
}

// The filter installed last runs first. The bridge installs its own whenever a screen reader
// starts listening for something; the router follows it once the event being filtered is done.
void KeyRouter::keepInFront() {
    QTimer::singleShot(0, this, [this] {
        QApplication::instance()->removeEventFilter(this);
        QApplication::instance()->installEventFilter(this);
    });
}

} // namespace ladoton
