#pragma once

#include "keys/StartedNotes.h"

#include <array>
#include <cstdint>
#include <string>

namespace ladoton {

// As a note offset: the key records but sounds nothing. As a held note: no note sounds.
inline constexpr int32_t EmptyNote = 0x8000;
inline constexpr int KeyCodeCount = 256;
inline constexpr int KeyTableRows = 39;

struct KeyEntry {
    int32_t keyCode;
    const char* keyName; // UTF-8
    int32_t buttonId;    // 0: the row has no piano key
    int32_t noteOffset;  // semitones above the C of the current octave, or EmptyNote
};

struct KeyState {
    uint8_t pressed = 0;
    int32_t note = EmptyNote; // the note of the last row the press played
    uint8_t needsRepaint = 1;
    StartedNotes<KeyTableRows> started; // every note the press sounded, for its release
    int32_t channel = 0;                // the channel they went out on
};

using KeyTable = std::array<KeyEntry, KeyTableRows>;
using KeyStates = std::array<KeyState, KeyCodeCount>;

KeyTable initialKeyTable();

// The key name a reassigned row shows.
inline constexpr const char* ReassignedKeyName = "ПР";

inline bool isKeyCode(int code) {
    return code >= 0 && code < KeyCodeCount;
}

// First row, in table order, played by the piano-key button; -1 when none.
int firstRowForButton(const KeyTable& table, int buttonId);

// noteOffset + transposition + 12 * octave, wrapping as 32-bit arithmetic does.
int32_t noteNumber(int32_t noteOffset, int32_t transposition, int32_t octave);

// "C".."B" for pitch class 0..11.
const char* pitchClassName(int pitchClass);

// Pitch class followed by the octave (n / 12 - 2); "?" outside 0..127.
std::string noteName(int32_t note);

} // namespace ladoton
