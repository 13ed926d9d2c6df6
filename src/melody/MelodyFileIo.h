#pragma once

#include "melody/Melody.h"

#include <cstdint>
#include <filesystem>
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

// Writes the melody beside an existing regular file (or where a new one goes) and moves
// it over the file only once every byte is on disk, so a failed save leaves the old file
// as it was. A device or pipe is written in place. The length written, or nothing when
// the save failed.
std::optional<uint64_t> saveMelodyFile(const std::filesystem::path& file,
                                       std::span<const MelodyEvent> events);

} // namespace ladoton
