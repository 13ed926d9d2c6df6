#pragma once

#include <string>

namespace ladoton {

// A PC key as a voice names it: letters and digits as they are, the editing keys by the names
// on their caps ("Page Down"), keypad keys as "цифровая 7". The piano's picture shows shorter
// marks ("PD"), which a voice reads as letters. Empty for a key without a name.
std::string spokenKeyName(int keyCode);

} // namespace ladoton
