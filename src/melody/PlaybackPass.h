#pragma once

#include "keys/KeyTable.h"
#include "melody/Melody.h"
#include "midi/MidiMessage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ladoton {

// The playing state a pass starts from: the window's values at the time.
struct PlayingSettings {
    int channel = 1;
    int program = 62; // 1..128, the instrument last chosen
    int octave = 4;
    int transposition = 0;
    int amplitude = 60;
};

// A message as playback would send it, at milliseconds after the melody's first event.
struct TimedMessage {
    uint32_t time = 0;
    ShortMessage message;

    bool operator==(const TimedMessage&) const = default;
};

// Everything one playback pass of the melody puts on the wire, in order: first the
// program change for the current instrument, then the notes its keystrokes sound through
// the key table, each at the time it was recorded. A pass that ends with keys still held
// releases them at its last event, so no note is left sounding; a replayed Space or Z,
// which would start playback over or empty the melody, ends the pass the same way.
std::vector<TimedMessage> playbackPassMessages(std::span<const MelodyEvent> events,
                                               const KeyTable& table,
                                               const PlayingSettings& settings);

} // namespace ladoton
