#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ladoton {

// What a screen reader says for the held notes: the notes by syllable and octave from the
// lowest, then the triad the window names, or the interval when two notes are held, in whole
// words, as a voice reads them best: "до2 ми2 соль2, до-мажор", "до2 ми2, большая терция".
// Empty when no held note is a MIDI note.
std::string spokenChord(std::vector<int32_t> notes);

} // namespace ladoton
