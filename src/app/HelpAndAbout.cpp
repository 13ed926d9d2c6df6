#include "app/KeyboardDialog.h"
#include "keys/KeyHelp.h"

namespace ladoton {

void KeyboardDialog::OnKeyHelp() {
    prompts_.message(this, QString::fromUtf8(KeyHelpCaption),
                     QString::fromStdString(keyHelpText()));
}

void KeyboardDialog::OnAbout() {
    prompts_.about(this);
}

} // namespace ladoton
