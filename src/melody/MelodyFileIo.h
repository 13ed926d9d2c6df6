#pragma once

#include "melody/Melody.h"
#include "melody/MelodyFile.h"
#include "melody/PlaybackPass.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace ladoton {

enum class MelodyLoadStatus {
    Loaded,
    NotLoaded, // could not be opened or read, or no memory for it
    Invalid,   // not a melody file, or shorter than its count says
};

struct MelodyLoadResult {
    MelodyLoadStatus status = MelodyLoadStatus::NotLoaded;
    std::vector<MelodyEvent> events; // only when loaded
};

MelodyLoadResult loadMelodyFile(const std::filesystem::path& file);

// Hands a file's whole content to the sink; false when the sink refused a piece.
using FileContentWriter = std::function<bool(const ByteSink&)>;

// Writes the content beside an existing regular file (or where a new one goes) and moves
// it over the file only once every byte is on disk, so a failed save leaves the old file
// as it was. A device or pipe is written in place. The length written, or nothing when
// the save failed.
std::optional<uint64_t> saveFileSafely(const std::filesystem::path& file,
                                       const FileContentWriter& write);

// The melody file, saved as above.
std::optional<uint64_t> saveMelodyFile(const std::filesystem::path& file,
                                       std::span<const MelodyEvent> events);

// A Standard MIDI File of what one playback pass would send (PlaybackPass.h), saved as
// above; nothing also when there is no memory for it.
std::optional<uint64_t> exportMidiFile(const std::filesystem::path& file,
                                       std::span<const MelodyEvent> events, const KeyTable& table,
                                       const PlayingSettings& settings);

} // namespace ladoton
