#pragma once

#include "platform/KeyTranslation.h"

#include <QObject>
#include <bitset>
#include <deque>
#include <functional>

namespace ladoton {

class Keyboard;

// Sees every key event of the application before any widget does and plays the ones
// addressed to the main window: key presses go to pressKey and stop there, key
// releases go to releaseKey. Alt combinations and F10 go on to the menu. A popup menu or
// modal window that opens ends the held keys, as the window's loss of focus does, and no
// key press plays while a popup is open.
//
// While a screen reader listens, Qt's bridge to it holds every key event back until the
// screen reader has looked at it. The router keeps in front of the bridge, so that a note
// leaves before that; then it hands the key on to the bridge, once a press and never a repeat,
// and takes back what the bridge returns without playing it again. A backstop behind the bridge
// takes whatever the bridge let pass, so no key reaches a widget.
class KeyRouter : public QObject {
  public:
    // `window` is the main window, which plays `keyboard`; F1 there also runs `showKeyHelp`.
    KeyRouter(QWidget& window, Keyboard& keyboard, std::function<void()> showKeyHelp);
    ~KeyRouter() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct HandedOn {
        int type;
        int key;
        quint32 scanCode;
    };
    class Backstop;

    bool isForMainWindow(QObject* watched) const;
    bool takesKeyboard(QObject* watched) const;
    bool filterBesideScreenReader(QObject* watched, const QKeyEvent& keyEvent);
    // The widget a key that reaches the window goes on to.
    QWidget* keyTarget() const;
    // Plays the key; whether the window has done with it.
    bool route(const QKeyEvent& keyEvent);
    bool handOnToScreenReader(const QKeyEvent& keyEvent);
    // Whether the event repeats a key held down: X11 repeats held keys as presses alone here,
    // which Qt does not flag as repeats.
    bool repeatsHeldKey(const QKeyEvent& keyEvent);
    bool isReturnedByScreenReader(const QKeyEvent& keyEvent);
    void keepInFront();

    QWidget& window_;
    Keyboard& keyboard_;
    std::function<void()> showKeyHelp_;
    HeldKeyCodes heldKeyCodes_;
    Backstop* backstop_;
    std::deque<HandedOn> handedOn_;
    const QEvent* handingOn_ = nullptr;
    std::bitset<256> down_; // by X11 key code
};

} // namespace ladoton
