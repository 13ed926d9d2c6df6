#pragma once

#include "melody/MelodyFile.h"
#include "melody/PlaybackPass.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ladoton {

// Standard MIDI Files are written as format 0 with 500 ticks to the quarter note. With
// no tempo event players take the standard's 500000 microseconds per quarter note, so a
// tick is one millisecond: the times a melody is recorded in.
inline constexpr uint16_t MidiFileTicksPerQuarter = 500;

// The longest delta time the file format can express; longer pauses are bridged by
// empty text events.
inline constexpr uint32_t MidiFileMaxDelta = 0x0FFFFFFF;

// One track holding the messages at their times (in ticks), then the end of the track at
// the time of the last one. Messages go in exactly as sent, a release as a note-on with
// velocity 0.
std::vector<uint8_t> midiFileBytes(std::span<const TimedMessage> messages);

// The same file, handed to the sink in pieces of a few kilobytes; false when the sink
// refused a piece.
bool writeMidiFile(std::span<const TimedMessage> messages, const ByteSink& sink);

} // namespace ladoton
