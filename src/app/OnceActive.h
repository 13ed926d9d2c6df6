#pragma once

#include <functional>

class QWidget;

namespace ladoton {

// Runs `action` once `window` is the active window: at once when it is, else when it becomes
// active, and after `limitMs` at the latest. A box raised over a window that the compositor has
// not yet placed and given the focus is placed on its own, and on Wayland (sway) left the window
// unable to open a popup menu afterwards.
void runOnceActive(QWidget& window, std::function<void()> action, int limitMs = 2000);

} // namespace ladoton
