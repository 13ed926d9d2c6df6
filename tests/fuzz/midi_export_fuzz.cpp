// The MIDI export on arbitrary melodies and playing values, as a melody file from anywhere
// can bring them: the file must parse as a Standard MIDI File, its times must be the pass's
// times, and no note may be left sounding at its end.
#include "melody/MidiFile.h"

#include <array>
#include <cstdlib>
#include <cstring>

using namespace ladoton;

namespace {
void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int32_t takeInt(std::span<const uint8_t>& input) {
    int32_t value = 0;
    const std::size_t taken = std::min(input.size(), sizeof value);
    std::memcpy(&value, input.data(), taken);
    input = input.subspan(taken);
    return value;
}

// Small values most of the time, so that notes sound; anything now and then.
int playingValue(std::span<const uint8_t>& input, int lo, int hi) {
    const int32_t raw = takeInt(input);
    return (raw & 0x100) != 0 ? raw
                              : lo + static_cast<int>(static_cast<uint32_t>(raw) % (hi - lo + 1));
}

uint32_t readDelta(std::span<const uint8_t> track, std::size_t& at) {
    uint32_t delta = 0;
    for (int length = 1;; ++length) {
        require(at < track.size() && length <= 4);
        const uint8_t byte = track[at++];
        delta = (delta << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return delta;
        }
    }
}

// Parses the file strictly and checks it against the messages it was made from.
void checkFile(const std::vector<uint8_t>& file, const std::vector<TimedMessage>& messages) {
    require(file.size() >= 22 &&
            std::memcmp(file.data(), "MThd\0\0\0\6\0\0\0\1\1\xF4MTrk", 18) == 0);
    const uint32_t length =
        (uint32_t{file[18]} << 24) | (file[19] << 16) | (file[20] << 8) | file[21];
    require(length == file.size() - 22);
    const std::span<const uint8_t> track = std::span(file).subspan(22);
    std::size_t at = 0;
    uint64_t now = 0;
    std::size_t next = 0;
    std::array<int, 128> lastOn{};
    std::array<int, 128> lastRelease{};
    lastOn.fill(-1);
    lastRelease.fill(-1);
    for (int index = 0;; ++index) {
        now += readDelta(track, at);
        require(at < track.size());
        if (track[at] == 0xFF) {
            require(at + 2 < track.size() && track[at + 2] == 0);
            at += 3;
            if (track[at - 2] == 0x2F) {
                break;
            }
            require(track[at - 2] == 0x01);
            continue;
        }
        require(next < messages.size());
        const ShortMessage& message = messages[next++].message;
        require(now == messages[next - 1].time);
        require(at + message.size <= track.size());
        require(std::memcmp(track.data() + at, message.bytes.data(), message.size) == 0);
        at += message.size;
        const uint8_t status = message.bytes[0];
        require((status & 0xF0) == 0x90 || (status & 0xF0) == 0xC0);
        require(message.bytes[1] < 0x80 && message.bytes[2] < 0x80);
        if ((status & 0xF0) == 0x90) {
            (message.bytes[2] != 0 ? lastOn : lastRelease)[message.bytes[1]] = index;
        }
    }
    require(at == track.size() && next == messages.size());
    for (std::size_t note = 0; note < 128; ++note) {
        require(lastOn[note] < lastRelease[note] || lastOn[note] == -1);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::span<const uint8_t> input(data, size);
    PlayingSettings settings;
    settings.channel = playingValue(input, 1, 16);
    settings.program = playingValue(input, 1, 128);
    settings.octave = playingValue(input, 1, 9);
    settings.transposition = playingValue(input, -12, 12);
    settings.amplitude = playingValue(input, 1, 127);
    std::vector<MelodyEvent> events;
    while (input.size() >= 6) {
        // Key codes mostly of the table's range, times close together or anywhere.
        const uint8_t key = input[0];
        const uint8_t flags = input[1];
        input = input.subspan(2);
        const int32_t time = takeInt(input);
        const int32_t keyCode = (flags & 0x80) != 0 ? key - 8 + (flags & 0x7F) * 256 : key;
        events.push_back(makeEvent(keyCode, flags & 0x03, static_cast<uint32_t>(time)));
    }
    const std::vector<TimedMessage> messages =
        playbackPassMessages(events, initialKeyTable(), settings);
    checkFile(midiFileBytes(messages), messages);
    return 0;
}
