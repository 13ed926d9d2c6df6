#pragma once

#include "keys/KeyTable.h"

#include <string>
#include <vector>

namespace ladoton {

// The notes of every held key that sounds one, in key-code order.
std::vector<int32_t> gatherHeldNotes(const KeyStates& keyStates);

struct HeldNotesTexts {
    std::string heldNotesText; // "C3 E3 G3 (до3 ми3 соль3 )"
    std::string intervalText; // "4(больш. терция) 3(малая терция) (до-мажор)"
    std::string triad;        // "до-мажор"; empty when the notes are no such triad
};

// Names the notes, the intervals between neighbours and a root-position triad.
HeldNotesTexts describeHeldNotes(std::vector<int32_t> notes);

const char* intervalName(int semitones);     // 0..12
const char* russianNoteName(int pitchClass); // 0..11

} // namespace ladoton
