#include "midi/PendingMessages.h"

namespace ladoton {

namespace {

constexpr uint8_t NoteOff = 0x80;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t ProgramChange = 0xC0;

uint8_t kind(const ShortMessage& message) {
    return message.bytes[0] & 0xF0;
}
uint8_t channelOf(const ShortMessage& message) {
    return message.bytes[0] & 0x0F;
}

} // namespace

void PendingMessages::add(const ShortMessage& message) {
    const uint8_t channel = channelOf(message);
    const uint8_t data1 = message.bytes[1] & 0x7F;
    const uint8_t data2 = message.bytes[2] & 0x7F;
    switch (kind(message)) {
    case NoteOn:
        if (message.size >= 3) {
            held_[channel][data1] = data2;
        }
        break;
    case NoteOff:
        held_[channel][data1] = 0;
        break;
    case ProgramChange:
        if (message.size >= 2) {
            programs_[channel] = data1;
        }
        break;
    default:
        break;
    }
}

std::vector<ShortMessage> PendingMessages::replay() const {
    std::vector<ShortMessage> messages;
    for (int channel = 0; channel < Channels; ++channel) {
        if (programs_[channel]) {
            const auto status = static_cast<uint8_t>(ProgramChange | channel);
            messages.push_back({{status, *programs_[channel], 0}, 2});
        }
    }
    for (int channel = 0; channel < Channels; ++channel) {
        for (int note = 0; note < Notes; ++note) {
            if (const uint8_t velocity = held_[channel][note]; velocity != 0) {
                const auto status = static_cast<uint8_t>(NoteOn | channel);
                messages.push_back({{status, static_cast<uint8_t>(note), velocity}, 3});
            }
        }
    }
    return messages;
}

void PendingMessages::clear() {
    *this = PendingMessages{};
}

} // namespace ladoton
