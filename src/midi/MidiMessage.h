#pragma once

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

    bool operator==(const ShortMessage&) const = default;
};

// Channel 1..16; a note outside 0..127 or a channel outside 1..16 gives no message,
// a velocity is clamped to 0..127. Velocity 0 is the release.
std::optional<ShortMessage> noteOnMessage(int channel, int note, int velocity);

// Instrument 1..128 becomes program 0..127 (clamped); a channel outside 1..16 gives
// no message.
std::optional<ShortMessage> programChangeMessage(int channel, int instrument);

} // namespace ladoton
