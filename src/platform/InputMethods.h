#pragma once

class QWidget;

namespace ladoton {

// Every key is played by its place on the keyboard and no text is ever typed into an edit,
// so no input method (dead keys, compose, ibus) may take a key or put text anywhere. Qt's
// input contexts leave alone the keys of a focus widget that does not accept input methods.
// Turns them off for the window and every widget it holds now.
void turnOffInputMethods(QWidget& window);

} // namespace ladoton
