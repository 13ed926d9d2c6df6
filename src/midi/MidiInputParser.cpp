#include "midi/MidiInputParser.h"

namespace ladoton {

namespace {
constexpr uint8_t SystemExclusive = 0xF0;
constexpr uint8_t FirstRealTime = 0xF8;

bool isStatus(uint8_t byte) {
    return (byte & 0x80) != 0;
}
} // namespace

std::size_t channelDataLength(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

std::optional<ShortMessage> MidiInputParser::feed(uint8_t byte) {
    if (byte >= FirstRealTime) {
        return std::nullopt;
    }
    if (isStatus(byte)) {
        startMessage(byte);
        return std::nullopt;
    }
    if (status_ == 0) {
        return std::nullopt; // inside system exclusive, or no status yet
    }
    data_[received_++] = byte;
    if (received_ < expected_) {
        return std::nullopt;
    }
    received_ = 0;
    return ShortMessage{{status_, data_[0], expected_ == 2 ? data_[1] : uint8_t{0}}, 1 + expected_};
}

void MidiInputParser::startMessage(uint8_t status) {
    received_ = 0;
    if (status >= SystemExclusive) {
        // System exclusive and system common messages end running status; their data bytes,
        // up to the next status byte, are passed over.
        status_ = 0;
        return;
    }
    status_ = status;
    expected_ = channelDataLength(status);
}

} // namespace ladoton
