#pragma once

#include <QFont>

namespace ladoton {

// The font of the texts on the piano keys: Tahoma when the system has it, else the
// system's sans-serif, with character cells 11 pixels high and 6 pixels wide on
// average. Cheap to call: the face and size are chosen once per run.
QFont makeLabelFont();

} // namespace ladoton
