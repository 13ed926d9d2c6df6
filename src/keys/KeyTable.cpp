#include "keys/KeyTable.h"

#include "keys/VirtualKeys.h"

namespace ladoton {

KeyTable initialKeyTable() {
    return {{
        {vk::Tab, "TAB", 1044, -1},
        {'Q', "Q", 1022, 0},
        {'2', "2", 1029, 1},
        {'W', "W", 1023, 2},
        {'3', "3", 1030, 3},
        {'E', "E", 1024, 4},
        {'R', "R", 1025, 5},
        {'5', "5", 1031, 6},
        {'T', "T", 1026, 7},
        {'6', "6", 1032, 8},
        {'Y', "Y", 1027, 9},
        {'7', "7", 1033, 10},
        {'U', "U", 1028, 11},
        {'8', "8", 1028, 11},
        {'I', "I", 1034, 12},
        {'9', "9", 1039, 13},
        {'O', "O", 1035, 14},
        {'0', "0", 1040, 15},
        {'P', "P", 1036, 16},
        {vk::Oem4, "{", 1037, 17},
        {vk::OemPlus, "+", 1041, 18},
        {vk::Oem6, "}", 1038, 19},
        {vk::Oem5, "|", 1048, 20},
        {vk::Return, "EN", 1046, 21},
        {vk::Back, "BK", 1049, 22},
        {vk::Delete, "DEL", 1047, 23},
        {vk::End, "END", 1052, 24},
        {vk::Home, "HM", 1063, 25},
        {vk::Next, "PD", 1056, 26},
        {vk::Prior, "PU", 1064, 27},
        {vk::Numpad0 + 7, "7", 1059, 28},
        {vk::Numpad0 + 8, "8", 1065, 29},
        {vk::Divide, "/", 1068, 30},
        {vk::Numpad0 + 9, "9", 1066, 31},
        {vk::Multiply, "*", 1069, 32},
        {vk::Add, "+", 1067, 33},
        {vk::Subtract, "-", 1070, 34},
        {vk::LetterM, "M", 0, EmptyNote},
        {vk::Numpad0 + 6, "6", 1072, 35},
    }};
}

int firstRowForButton(const KeyTable& table, int buttonId) {
    for (int row = 0; row < KeyTableRows; ++row) {
        if (table[row].buttonId == buttonId) {
            return row;
        }
    }
    return -1;
}

int32_t noteNumber(int32_t noteOffset, int32_t transposition, int32_t octave) {
    // Octave and transposition come unchecked from the settings file and pasted text;
    // wrap instead of overflowing.
    const int64_t sum = int64_t{noteOffset} + transposition + int64_t{12} * octave;
    return static_cast<int32_t>(static_cast<uint32_t>(sum));
}

const char* pitchClassName(int pitchClass) {
    static constexpr const char* names[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                              "F#", "G",  "G#", "A",  "A#", "B"};
    return names[((pitchClass % 12) + 12) % 12];
}

std::string noteName(int32_t note) {
    if (note < 0 || note > 127) {
        return "?";
    }
    return pitchClassName(note % 12) + std::to_string(note / 12 - 2);
}

} // namespace ladoton
