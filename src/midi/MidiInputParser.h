#pragma once

#include "midi/MidiMessage.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ladoton {

// Frames the byte stream of a MIDI input into channel messages, as a MIDI device reads its
// cable: running status, real-time bytes anywhere (dropped, running status kept), system
// exclusive and system common messages (dropped, running status cleared), data bytes with no
// status before them (dropped), a message cut short by the next status byte (dropped).
class MidiInputParser {
  public:
    // The message this byte completes, if any.
    std::optional<ShortMessage> feed(uint8_t byte);

  private:
    void startMessage(uint8_t status);

    uint8_t status_ = 0; // 0: no running status
    std::size_t expected_ = 0;
    std::size_t received_ = 0;
    std::array<uint8_t, 2> data_{};
};

// How many data bytes follow a channel status byte (0x80..0xEF).
std::size_t channelDataLength(uint8_t status);

} // namespace ladoton
