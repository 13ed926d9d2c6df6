#include "melody/MelodyFile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ladoton {

namespace {
constexpr std::size_t RecordBytes = MelodyFileRecordSize;
// Records handled per piece: big enough for few calls, small enough to stay in cache.
constexpr std::size_t RecordsPerPiece = 3200;
// Without the file's size, storage grows with what actually arrives beyond this.
constexpr std::size_t UnsizedReserveLimit = 4096;

void putLittle32(uint8_t* out, uint32_t value) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t getLittle32(const uint8_t* in) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
           static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

// The reserved words and the filler go out as zeros whatever the record holds.
void encodeRecord(const MelodyEvent& event, uint8_t* out) {
    std::memset(out, 0, RecordBytes);
    putLittle32(out, static_cast<uint32_t>(event.keyCode));
    out[12] = event.keyDown;
    putLittle32(out + 16, event.time);
}

MelodyEvent decodeRecord(const uint8_t* in) {
    return makeEvent(static_cast<int32_t>(getLittle32(in)), in[12], getLittle32(in + 16));
}

// Reads until the buffer is full or the source runs dry; returns the bytes read.
std::size_t readFully(const ByteSource& source, std::span<uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::size_t got = source(buffer.subspan(filled));
        if (got == 0) {
            break;
        }
        filled += std::min(got, buffer.size() - filled);
    }
    return filled;
}

std::optional<uint32_t> readField(const ByteSource& source) {
    std::array<uint8_t, 4> field{};
    if (readFully(source, field) != field.size()) {
        return std::nullopt;
    }
    return getLittle32(field.data());
}

bool readRecords(const ByteSource& source, uint32_t count, std::vector<MelodyEvent>& events) {
    std::size_t remaining = count;
    std::vector<uint8_t> piece(std::min(remaining, RecordsPerPiece) * RecordBytes);
    while (remaining > 0) {
        const std::size_t records = std::min(remaining, RecordsPerPiece);
        const std::span<uint8_t> wanted(piece.data(), records * RecordBytes);
        if (readFully(source, wanted) != wanted.size()) {
            return false;
        }
        for (std::size_t i = 0; i < records; ++i) {
            events.push_back(decodeRecord(piece.data() + i * RecordBytes));
        }
        remaining -= records;
    }
    return true;
}
} // namespace

bool writeMelodyFile(std::span<const MelodyEvent> events, const ByteSink& sink) {
    std::vector<uint8_t> piece(std::min(events.size(), RecordsPerPiece) * RecordBytes);
    std::array<uint8_t, MelodyFileHeaderSize> header{};
    putLittle32(header.data(), static_cast<uint32_t>(MelodyFileRecordSize));
    putLittle32(header.data() + 4, static_cast<uint32_t>(events.size()));
    if (!sink(header)) {
        return false;
    }
    while (!events.empty()) {
        const std::size_t records = std::min(events.size(), RecordsPerPiece);
        for (std::size_t i = 0; i < records; ++i) {
            encodeRecord(events[i], piece.data() + i * RecordBytes);
        }
        if (!sink(std::span<const uint8_t>(piece.data(), records * RecordBytes))) {
            return false;
        }
        events = events.subspan(records);
    }
    return true;
}

std::optional<std::vector<MelodyEvent>> readMelodyFile(const ByteSource& source,
                                                       std::optional<uint64_t> fileLength) {
    const std::optional<uint32_t> recordSize = readField(source);
    if (!recordSize || static_cast<int32_t>(*recordSize) != MelodyFileRecordSize) {
        return std::nullopt;
    }
    const std::optional<uint32_t> count = readField(source);
    if (!count) {
        return std::nullopt;
    }
    std::vector<MelodyEvent> events;
    if (fileLength) {
        if (*fileLength < melodyFileLength(*count)) {
            return std::nullopt;
        }
        events.reserve(*count);
    } else {
        events.reserve(std::min<std::size_t>(*count, UnsizedReserveLimit));
    }
    if (!readRecords(source, *count, events)) {
        return std::nullopt;
    }
    return events;
}

std::optional<std::vector<MelodyEvent>> readMelodyFile(std::span<const uint8_t> bytes) {
    std::span<const uint8_t> rest = bytes;
    const ByteSource source = [&rest](std::span<uint8_t> buffer) {
        const std::size_t taken = std::min(buffer.size(), rest.size());
        std::copy_n(rest.begin(), taken, buffer.begin());
        rest = rest.subspan(taken);
        return taken;
    };
    return readMelodyFile(source, bytes.size());
}

std::vector<uint8_t> melodyFileBytes(std::span<const MelodyEvent> events) {
    std::vector<uint8_t> bytes;
    bytes.reserve(melodyFileLength(events.size()));
    writeMelodyFile(events, [&bytes](std::span<const uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    });
    return bytes;
}

} // namespace ladoton
