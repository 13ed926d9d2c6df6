#pragma once

#include "midi/MidiVocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ladoton {

// One MIDI short message as it goes on the wire: note-on is three bytes,
// program change two.
struct ShortMessage {
    std::array<uint8_t, 3> bytes{};
    std::size_t size = 0;

    uint8_t kind() const { return midi::kindOf(bytes[0]); }
    int channelIndex() const { return midi::channelIndexOf(bytes[0]); }
    uint8_t data1() const { return bytes[1] & midi::DataMask; }
    uint8_t data2() const { return bytes[2] & midi::DataMask; }

    bool operator==(const ShortMessage&) const = default;
};

// The channel message a MIDI system hands over whole (a JACK event, a decoded ALSA event):
// none for a system message, a message without its status byte (running status), one cut
// short or too long, or a data byte with the top bit set.
std::optional<ShortMessage> channelMessage(const uint8_t* bytes, std::size_t size);

// Channel 1..16; a note outside 0..127 or a channel outside 1..16 gives no message,
// a velocity is clamped to 0..127. Velocity 0 is the release.
std::optional<ShortMessage> noteOnMessage(int channel, int note, int velocity);

// Instrument 1..128 becomes program 0..127 (clamped); a channel outside 1..16 gives
// no message.
std::optional<ShortMessage> programChangeMessage(int channel, int instrument);

} // namespace ladoton
