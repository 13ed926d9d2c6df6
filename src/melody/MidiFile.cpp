#include "melody/MidiFile.h"

#include <algorithm>
#include <initializer_list>

namespace ladoton {

namespace {

constexpr std::size_t SinkPiece = 64 * 1024;
// The file header and the track header, up to the first event.
constexpr std::size_t HeaderSize = 22;

// Byte by byte: GCC 12 at -O3 takes a vector insert of a short list for an overflow.
void putBytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    for (const uint8_t byte : bytes) {
        out.push_back(byte);
    }
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// A variable-length quantity: seven bits a byte, most significant first, every byte but
// the last with its top bit set. The value is at most MidiFileMaxDelta.
void putDelta(std::vector<uint8_t>& out, uint32_t delta) {
    uint8_t reversed[4];
    int count = 0;
    do {
        reversed[count++] = static_cast<uint8_t>(delta & 0x7F);
        delta >>= 7;
    } while (delta != 0);
    while (count > 1) {
        out.push_back(static_cast<uint8_t>(reversed[--count] | 0x80));
    }
    out.push_back(reversed[0]);
}

// Moves the track's clock to `time`, spending any pause too long for one delta time on
// empty text events, which players skip.
void putDeltaTo(std::vector<uint8_t>& out, uint32_t& now, uint32_t time) {
    uint32_t delta = time - now;
    while (delta > MidiFileMaxDelta) {
        putDelta(out, MidiFileMaxDelta);
        putBytes(out, {0xFF, 0x01, 0x00});
        delta -= MidiFileMaxDelta;
    }
    putDelta(out, delta);
    now = time;
}

void putTrackEvents(std::vector<uint8_t>& out, std::span<const TimedMessage> messages) {
    uint32_t now = 0;
    for (const TimedMessage& timed : messages) {
        putDeltaTo(out, now, timed.time);
        const ShortMessage& message = timed.message;
        out.insert(out.end(), message.bytes.begin(), message.bytes.begin() + message.size);
    }
    putDelta(out, 0);
    putBytes(out, {0xFF, 0x2F, 0x00});
}

} // namespace

std::vector<uint8_t> midiFileBytes(std::span<const TimedMessage> messages) {
    std::vector<uint8_t> file;
    file.reserve(HeaderSize + messages.size() * 4 + 4);
    putBytes(file, {'M', 'T', 'h', 'd'});
    putBigEndian(file, 6, 4);
    putBigEndian(file, 0, 2); // format 0: a single track
    putBigEndian(file, 1, 2);
    putBigEndian(file, MidiFileTicksPerQuarter, 2);
    putBytes(file, {'M', 'T', 'r', 'k'});
    putBigEndian(file, 0, 4); // the track's length, known once it is written
    putTrackEvents(file, messages);
    std::vector<uint8_t> length;
    putBigEndian(length, static_cast<uint32_t>(file.size() - HeaderSize), 4);
    std::copy(length.begin(), length.end(), file.begin() + HeaderSize - 4);
    return file;
}

bool writeMidiFile(std::span<const TimedMessage> messages, const ByteSink& sink) {
    const std::vector<uint8_t> file = midiFileBytes(messages);
    for (std::size_t offset = 0; offset < file.size(); offset += SinkPiece) {
        const std::size_t size = std::min(SinkPiece, file.size() - offset);
        if (!sink(std::span<const uint8_t>(file).subspan(offset, size))) {
            return false;
        }
    }
    return true;
}

} // namespace ladoton
