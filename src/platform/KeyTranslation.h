#pragma once

#include <array>
#include <cstdint>

class QKeyEvent;

namespace ladoton {

// What the translation gives a key that has no Windows code.
inline constexpr int NoKey = 0;

// The virtual-key code a key has on a US layout, found by the key's physical position
// (the X11 key code: the kernel's key code + 8, as QKeyEvent::nativeScanCode() gives it
// under X11 and Wayland) so that any active layout plays the same piano keys. Keypad
// digits and the keypad decimal follow Num Lock through the Qt key: a digit (or the
// decimal point) gives VK_NUMPAD0..9 (VK_DECIMAL), a navigation key gives its code.
// Multimedia and browser keys get the codes Windows gives them. Returns 0 for a key it does
// not know.
int virtualKeyFromScanCode(uint32_t x11KeyCode, int qtKey);

// Where the scan code is unknown (offscreen, synthetic events): the code from the Qt key
// alone, read as a US layout, with the keypad flag telling keypad digits and operators
// from the main ones. Returns 0 for a key it does not know.
int virtualKeyFromQtKey(int qtKey, bool keypad);

// Both of the above for one key event; 0 for a key that has no Windows code (brightness,
// power, ...), which is then no key to play.
int virtualKeyFromEvent(const QKeyEvent& event);

// The code each physical key was pressed with. Shift or Num Lock can change what a keypad
// key means while it is held (keypad 7 pressed as VK_NUMPAD7 comes up as VK_HOME under
// Shift); its release must end the code of its press, or the note would go on sounding.
class HeldKeyCodes {
  public:
    // Translates the press and remembers its code for the key.
    int pressed(const QKeyEvent& event);
    // The code of the key's last press; a key whose press was not seen is translated.
    // The code is kept until the next press, so a release seen twice ends the same code.
    int released(const QKeyEvent& event) const;

  private:
    std::array<int, 256> codeAtPress_{}; // by X11 key code; 0: no press seen
};

} // namespace ladoton
