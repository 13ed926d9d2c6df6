#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace ladoton {

// The four values that survive a restart, as one fixed record of six little-endian
// 32-bit integers.
struct SettingsRecord {
    static constexpr int32_t Size = 24;

    int32_t size = Size;
    int32_t amplitude = 0;
    int32_t instrument = 0;
    int32_t octave = 0;
    int32_t transposition = 0;
    int32_t reserved = 0;

    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

using SettingsBytes = std::array<uint8_t, SettingsRecord::Size>;

SettingsBytes encodeSettings(const SettingsRecord& record);
SettingsRecord decodeSettings(const SettingsBytes& bytes);

// The record of the file, or nothing when the file cannot be read or its first field is
// not the record size. A short file reads as zeros past its end; the values are not
// range-checked.
std::optional<SettingsRecord> readSettingsFile(const std::filesystem::path& file);

// Where writeSettingsFile puts the record before it replaces the file.
std::filesystem::path settingsTemporaryFile(const std::filesystem::path& target);

// Writes the whole record or nothing: the bytes go to a temporary file beside the
// target, which then replaces it, so a failure leaves the old file as it was.
// Returns false on failure.
bool writeSettingsFile(const std::filesystem::path& file, const SettingsRecord& record);

// The same for any file's whole contents.
bool replaceFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace ladoton
