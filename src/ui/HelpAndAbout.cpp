#include "app/KeyboardDialog.h"

namespace ladoton {

void KeyboardDialog::OnKeyHelp() {}

void KeyboardDialog::OnAbout() { prompts_.about(this); }

} // namespace ladoton
