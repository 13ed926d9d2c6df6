#include "app/KeyboardDialog.h"

namespace ladoton {

void KeyboardDialog::readSettings() {}

void KeyboardDialog::writeSettings() {}

} // namespace ladoton
