#include "app/KeyboardDialog.h"

namespace ladoton {

void KeyboardDialog::DrawKeyboard() {}

} // namespace ladoton
