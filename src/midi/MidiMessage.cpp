#include "midi/MidiMessage.h"

#include <algorithm>

namespace ladoton {
namespace {
bool isChannel(int channel) {
    return channel >= 1 && channel <= 16;
}
} // namespace

std::optional<ShortMessage> noteOnMessage(int channel, int note, int velocity) {
    if (!isChannel(channel) || note < 0 || note > 127) {
        return std::nullopt;
    }
    const auto status = static_cast<uint8_t>(0x90 + channel - 1);
    const auto data2 = static_cast<uint8_t>(std::clamp(velocity, 0, 127));
    return ShortMessage{{status, static_cast<uint8_t>(note), data2}, 3};
}

std::optional<ShortMessage> programChangeMessage(int channel, int instrument) {
    if (!isChannel(channel)) {
        return std::nullopt;
    }
    const auto status = static_cast<uint8_t>(0xC0 + channel - 1);
    const auto program = static_cast<uint8_t>(std::clamp(instrument, 1, 128) - 1);
    return ShortMessage{{status, program, 0}, 2};
}

} // namespace ladoton
