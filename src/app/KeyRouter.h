#pragma once

#include "platform/KeyTranslation.h"

#include <QObject>

namespace ladoton {

class KeyboardDialog;

// Sees every key event of the application before any widget does and plays the ones
// addressed to the main window: key presses go to pressKey and stop there, key
// releases go to releaseKey. Alt combinations and F10 go on to the menu. A popup menu or
// modal window that opens ends the held keys, as the window's loss of focus does, and no
// key press plays while a popup is open.
class KeyRouter : public QObject {
  public:
    explicit KeyRouter(KeyboardDialog& dialog);
    ~KeyRouter() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isForMainWindow(QObject* watched) const;
    bool takesKeyboard(QObject* watched) const;

    KeyboardDialog& dialog_;
    HeldKeyCodes heldKeyCodes_;
};

} // namespace ladoton
