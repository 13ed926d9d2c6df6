#pragma once

#include "midi/MidiVocabulary.h"

#include <array>

namespace ladoton {

// A note of the MIDI input that sounds until its note-off: the PC key it plays (0 when it
// is passed on without a key), the channel its note-on went out on, and whether its key's press
// is in the melody as it is now, so that its release belongs there too.
struct InputNote {
    bool held = false;
    int keyCode = 0;
    int channel = 0;
    bool recorded = false;
};

// The input's held notes by their incoming note number.
using InputNotes = std::array<InputNote, 128>;

// A pedal of the MIDI input that is down: the channel it went down on, where its later values
// and its lifting go.
struct InputPedal {
    bool down = false;
    int channel = 0;
};

// The pedals the program lifts when it ends the input's notes: sustain, sostenuto and soft.
inline constexpr std::array<int, 3> InputPedalControllers = {midi::SustainPedal,
                                                             midi::SostenutoPedal, midi::SoftPedal};
using InputPedals = std::array<InputPedal, InputPedalControllers.size()>;

} // namespace ladoton
