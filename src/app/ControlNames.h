#pragma once

namespace ladoton {

class KeyboardDialog;

// Gives the main window's controls the names a screen reader reads them by: each edit, slider
// and the channel's arrows the label the window shows beside or above it, the check boxes their
// group's title with their own text.
void nameControls(KeyboardDialog& dialog);

} // namespace ladoton
