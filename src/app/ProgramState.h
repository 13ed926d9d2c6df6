#pragma once

#include "keys/KeyTable.h"
#include "melody/Melody.h"
#include "midi/MidiOut.h"

namespace ladoton {

// The program-wide single instances: alive for the whole run, owned by the
// application and handed to the main window.
struct ProgramState {
    ProgramState(MidiBackend& backend, Clock& clock) : midiOut(backend, clock) {}

    MidiOut midiOut;
    KeyTable keyTable = initialKeyTable();
    KeyStates keyStates{};
    Melody melody;
    PlaybackState playback;
    int32_t currentProgram = 62;
};

} // namespace ladoton
