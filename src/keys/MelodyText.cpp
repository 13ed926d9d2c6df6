#include "keys/MelodyText.h"

#include "keys/KeyTable.h"

namespace ladoton {

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char byte : utf8) {
        // Every character has exactly one byte that is not a continuation byte 10xxxxxx.
        if ((static_cast<unsigned char>(byte) & 0xC0u) != 0x80u) {
            ++count;
        }
    }
    return count;
}

void appendNoteName(std::string& melodyText, int32_t note) {
    melodyText += noteName(note);
    melodyText += ' ';
    if (characterCount(melodyText) > MelodyTextLimit) {
        melodyText.clear();
    }
}

} // namespace ladoton
