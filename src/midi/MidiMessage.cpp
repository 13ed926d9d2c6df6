#include "midi/MidiMessage.h"

#include <algorithm>

namespace ladoton {

std::optional<ShortMessage> channelMessage(const uint8_t* bytes, std::size_t size) {
    if (size == 0 || !midi::isChannelStatus(bytes[0]) ||
        size != 1 + static_cast<std::size_t>(midi::dataLength(bytes[0]))) {
        return std::nullopt;
    }
    ShortMessage message{{bytes[0], 0, 0}, size};
    for (std::size_t i = 1; i < size; ++i) {
        if (midi::isStatus(bytes[i])) {
            return std::nullopt;
        }
        message.bytes[i] = bytes[i];
    }
    return message;
}

std::optional<ShortMessage> noteOnMessage(int channel, int note, int velocity) {
    if (!midi::isChannel(channel) || note < 0 || note > midi::DataMask) {
        return std::nullopt;
    }
    const uint8_t status = midi::statusOf(midi::NoteOn, channel);
    const auto data2 = static_cast<uint8_t>(std::clamp(velocity, 0, 127));
    return ShortMessage{{status, static_cast<uint8_t>(note), data2}, 3};
}

std::optional<ShortMessage> programChangeMessage(int channel, int instrument) {
    if (!midi::isChannel(channel)) {
        return std::nullopt;
    }
    const uint8_t status = midi::statusOf(midi::ProgramChange, channel);
    const auto program = static_cast<uint8_t>(std::clamp(instrument, 1, 128) - 1);
    return ShortMessage{{status, program, 0}, 2};
}

} // namespace ladoton
