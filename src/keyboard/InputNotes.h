#pragma once

#include <array>

namespace ladoton {

// A note of the MIDI input that sounds until its note-off: the PC key it plays (0 when it
// is passed on without a key) and the channel its note-on went out on.
struct InputNote {
    bool held = false;
    int keyCode = 0;
    int channel = 0;
};

// The input's held notes by their incoming note number.
using InputNotes = std::array<InputNote, 128>;

} // namespace ladoton
