#pragma once

class QAccessibleInterface;
class QObject;
class QPushButton;
class QString;

namespace ladoton {

// The main window as a screen reader reads it. The piano is one object, «Клавиатура», with a
// child for each of its 37 keys in the order of their pitch: named by the note it sounds now
// («C2, до2»), the PC keys that play it in its description, pressed while it sounds. The
// piano-key buttons under the picture are these keys; the surface lists them under the piano,
// not beside it.
void installWindowAccessibility();

// Marks a piano-key button as the key of that index in the piano (0 = the B below C).
void markPianoKey(QPushButton& button, int index);

} // namespace ladoton
