#pragma once

#include <string>

namespace ladoton {

inline constexpr const char* KeyHelpCaption = "Используемые клавиши";

// The keys and mouse actions of the program, one paragraph each with an empty line
// ("\r\n\r\n") between neighbours. UTF-8.
std::string keyHelpText();

} // namespace ladoton
