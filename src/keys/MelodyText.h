#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ladoton {

// The played-notes text starts afresh once it holds more than this many characters.
inline constexpr std::size_t MelodyTextLimit = 256;

// Characters of UTF-8 text: what the user sees in the box, whatever was pasted into it.
std::size_t characterCount(std::string_view utf8);

// Appends the note's name and a space; a text grown beyond the limit becomes empty, the
// name just appended with it.
void appendNoteName(std::string& melodyText, int32_t note);

} // namespace ladoton
