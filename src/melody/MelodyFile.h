#pragma once

#include "melody/Melody.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace ladoton {

// A melody file: the record size, the record count, then the records, all little-endian.
inline constexpr int32_t MelodyFileRecordSize = 20;
inline constexpr std::size_t MelodyFileHeaderSize = 8;

constexpr uint64_t melodyFileLength(uint64_t count) {
    return MelodyFileHeaderSize + count * MelodyFileRecordSize;
}

// Takes the next piece of the file; false stops the writing.
using ByteSink = std::function<bool(std::span<const uint8_t>)>;
// Fills the front of the buffer with the next bytes and returns how many; 0 at the end.
using ByteSource = std::function<std::size_t(std::span<uint8_t>)>;

// Hands the whole file to the sink in pieces of a few kilobytes. False when the sink
// refused a piece.
bool writeMelodyFile(std::span<const MelodyEvent> events, const ByteSink& sink);

// Reads a melody file up to its last announced record; bytes after it are left unread.
// Nothing when the record size is not 20 or the source ends early. fileLength, when
// known, refuses a count the file cannot hold before any record is read; storage is
// never sized by the count alone.
std::optional<std::vector<MelodyEvent>>
readMelodyFile(const ByteSource& source, std::optional<uint64_t> fileLength = std::nullopt);
std::optional<std::vector<MelodyEvent>> readMelodyFile(std::span<const uint8_t> bytes);

// The whole file as bytes.
std::vector<uint8_t> melodyFileBytes(std::span<const MelodyEvent> events);

} // namespace ladoton
