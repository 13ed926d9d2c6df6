#include "settings/SettingsRecord.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace ladoton {

namespace {

constexpr std::size_t FieldCount = SettingsRecord::Size / 4;

std::array<int32_t, FieldCount> fieldsOf(const SettingsRecord& record) {
    return {record.size,   record.amplitude,     record.instrument,
            record.octave, record.transposition, record.reserved};
}

void putLittleEndian(uint8_t* out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

int32_t getLittleEndian(const uint8_t* in) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

// A symbolic link is written through, as opening it for writing would.
std::filesystem::path resolvedTarget(const std::filesystem::path& file, std::error_code& error) {
    if (!std::filesystem::is_symlink(file, error)) {
        error.clear();
        return file;
    }
    return std::filesystem::weakly_canonical(file, error);
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

int createTemporary(const std::filesystem::path& temporary) {
    constexpr int Flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), Flags, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left behind by a run of the same process id that did not finish.
        ::unlink(temporary.c_str());
        fd = ::open(temporary.c_str(), Flags, 0666);
    }
    return fd;
}

// The new file keeps the permissions of the one it replaces.
void keepMode(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
}

bool writeTemporary(const std::filesystem::path& temporary, const std::filesystem::path& target,
                    std::string_view bytes) {
    const int fd = createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    keepMode(fd, target);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

} // namespace

SettingsBytes encodeSettings(const SettingsRecord& record) {
    SettingsBytes bytes{};
    const auto fields = fieldsOf(record);
    for (std::size_t i = 0; i < FieldCount; ++i) {
        putLittleEndian(bytes.data() + 4 * i, fields[i]);
    }
    return bytes;
}

SettingsRecord decodeSettings(const SettingsBytes& bytes) {
    SettingsRecord record;
    record.size = getLittleEndian(bytes.data());
    record.amplitude = getLittleEndian(bytes.data() + 4);
    record.instrument = getLittleEndian(bytes.data() + 8);
    record.octave = getLittleEndian(bytes.data() + 12);
    record.transposition = getLittleEndian(bytes.data() + 16);
    record.reserved = getLittleEndian(bytes.data() + 20);
    return record;
}

std::optional<SettingsRecord> readSettingsFile(const std::filesystem::path& file) {
    SettingsBytes bytes{};
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const SettingsRecord record = decodeSettings(bytes);
    if (record.size != SettingsRecord::Size) {
        return std::nullopt;
    }
    return record;
}

std::filesystem::path settingsTemporaryFile(const std::filesystem::path& target) {
    // Appended piece by piece: GCC 12 at -O3 takes `"." + string` for an overlapping copy.
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += std::to_string(::getpid());
    name += ".tmp";
    std::filesystem::path temporary = target;
    temporary.replace_filename(name);
    return temporary;
}

bool writeSettingsFile(const std::filesystem::path& file, const SettingsRecord& record) {
    const SettingsBytes bytes = encodeSettings(record);
    return replaceFile(file,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool replaceFile(const std::filesystem::path& file, std::string_view bytes) {
    std::error_code error;
    const std::filesystem::path target = resolvedTarget(file, error);
    if (error) {
        return false;
    }
    // A file the user made read-only stays as it is.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
        return false;
    }
    const std::filesystem::path temporary = settingsTemporaryFile(target);
    if (!writeTemporary(temporary, target, bytes) ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace ladoton
