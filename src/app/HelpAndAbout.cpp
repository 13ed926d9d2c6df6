#include "app/KeyboardDialog.h"
#include "keys/KeyHelp.h"

namespace ladoton {

void KeyboardDialog::showKeyHelp() {
    prompts_.message(this, QString::fromUtf8(KeyHelpCaption),
                     QString::fromStdString(keyHelpText()));
}

void KeyboardDialog::showAbout() {
    prompts_.about(this);
}

} // namespace ladoton
