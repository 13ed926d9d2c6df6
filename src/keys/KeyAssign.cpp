#include "app/KeyboardDialog.h"

namespace ladoton {

void KeyboardDialog::reassignKey(int row) {
    const int keyCode = prompts_.assignKey(this);
    keyTable_[row].keyCode = keyCode & 0xFF;
    keyTable_[row].keyName = ReassignedKeyName;
}

} // namespace ladoton
