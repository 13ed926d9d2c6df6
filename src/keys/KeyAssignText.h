#pragma once

#include <string>

namespace ladoton {

// What the reassignment dialog shows for a key: the character whose Windows-1251 code is
// the low 8 bits of the virtual-key code, a space and the code in decimal ("Q 81",
// "a 97", "Ы 219"). UTF-8; a control key gives its control character.
std::string keyAssignText(int keyCode);

} // namespace ladoton
