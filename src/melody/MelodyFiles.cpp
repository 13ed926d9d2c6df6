#include "app/KeyboardDialog.h"

namespace ladoton {

void KeyboardDialog::saveMelody() {}

void KeyboardDialog::loadMelody() {}

} // namespace ladoton
