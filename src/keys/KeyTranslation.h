#pragma once

#include <cstdint>

class QKeyEvent;

namespace ladoton {

// The virtual-key code a key has on a US layout, found by the key's physical position
// (the X11 key code) so that any active layout plays the same piano keys. Keypad keys
// that depend on Num Lock take the code the Qt key says (digit or navigation).
// Returns 0 for a key it does not know.
int virtualKeyFromScanCode(uint32_t x11KeyCode, int qtKey);

// Where the scan code is unknown (not X11): the code from the Qt key alone, with the
// keypad flag telling keypad digits and operators from the main ones.
int virtualKeyFromQtKey(int qtKey, bool keypad);

// Both of the above for one key event.
int virtualKeyFromEvent(const QKeyEvent& event);

} // namespace ladoton
