#include "melody/MelodyFileIo.h"

#include "melody/MelodyFile.h"
#include "melody/MidiFile.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ladoton {

namespace {

// Closes the descriptor when it goes out of scope, unless it was closed on purpose.
class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // close() reports what a delayed write failed with; that counts as a failed write.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Opening without blocking keeps a pipe with nobody on the other end from hanging the
// window; the descriptor then goes back to ordinary blocking transfers.
int openUnblocked(const std::filesystem::path& file, int flags) {
    const int fd = ::open(file.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The writer's bytes into fd; the count written, or nothing when a write failed.
std::optional<uint64_t> writeContent(int fd, const FileContentWriter& write) {
    uint64_t length = 0;
    const bool written = write([fd, &length](std::span<const uint8_t> piece) {
        length += piece.size();
        return writeAll(fd, piece);
    });
    return written ? std::optional(length) : std::nullopt;
}

std::optional<uint64_t> saveInPlace(const std::filesystem::path& file,
                                    const FileContentWriter& write) {
    FileHandle handle(openUnblocked(file, O_WRONLY | O_TRUNC));
    if (!handle.valid()) {
        return std::nullopt;
    }
    const std::optional<uint64_t> length = writeContent(handle.get(), write);
    return length && handle.close() ? length : std::nullopt;
}

// A fresh file of our own beside the target, created with the usual permissions; its
// name, with the open descriptor in fd.
std::optional<std::filesystem::path> createSibling(const std::filesystem::path& folder, int& fd) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = folder / (".ladoton-save-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(++serial) + ".tmp");
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return candidate;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void syncFolder(const std::filesystem::path& folder) {
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.valid()) {
        ::fsync(handle.get());
    }
}

// existingMode: the permissions of the file being replaced, kept for the new one (the
// set-id bits are not carried over to a file that may now have another owner).
std::optional<uint64_t> saveBySwap(const std::filesystem::path& target,
                                   std::optional<mode_t> existingMode,
                                   const FileContentWriter& write) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    int fd = -1;
    const std::optional<std::filesystem::path> temporary = createSibling(folder, fd);
    if (!temporary) {
        return std::nullopt;
    }
    FileHandle handle(fd);
    std::optional<uint64_t> length = writeContent(handle.get(), write);
    const bool kept = length && (!existingMode || ::fchmod(handle.get(), *existingMode) == 0) &&
                      ::fsync(handle.get()) == 0 && handle.close() &&
                      ::rename(temporary->c_str(), target.c_str()) == 0;
    if (!kept) {
        ::unlink(temporary->c_str());
        return std::nullopt;
    }
    syncFolder(folder);
    return length;
}

} // namespace

std::optional<uint64_t> saveFileSafely(const std::filesystem::path& file,
                                       const FileContentWriter& write) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            return std::nullopt;
        }
        return saveBySwap(file, std::nullopt, write);
    }
    if (S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        return saveInPlace(file, write);
    }
    // A file we may not write to stays as it is, even though its folder would let us swap
    // it for another.
    if (!FileHandle(openUnblocked(file, O_WRONLY)).valid()) {
        return std::nullopt;
    }
    // Through a link, the file it points to is the one replaced; the link stays.
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(file, error);
    if (error) {
        return std::nullopt;
    }
    return saveBySwap(target, status.st_mode & 0777, write);
}

std::optional<uint64_t> saveMelodyFile(const std::filesystem::path& file,
                                       std::span<const MelodyEvent> events) {
    return saveFileSafely(file,
                          [events](const ByteSink& sink) { return writeMelodyFile(events, sink); });
}

std::optional<uint64_t> exportMidiFile(const std::filesystem::path& file,
                                       std::span<const MelodyEvent> events, const KeyTable& table,
                                       const PlayingSettings& settings) {
    try {
        const std::vector<TimedMessage> messages = playbackPassMessages(events, table, settings);
        return saveFileSafely(
            file, [&messages](const ByteSink& sink) { return writeMidiFile(messages, sink); });
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

MelodyLoadResult loadMelodyFile(const std::filesystem::path& file) {
    FileHandle handle(openUnblocked(file, O_RDONLY));
    struct stat status {};
    if (!handle.valid() || ::fstat(handle.get(), &status) != 0 || S_ISDIR(status.st_mode)) {
        return {};
    }
    std::optional<uint64_t> fileLength;
    if (S_ISREG(status.st_mode)) {
        fileLength = static_cast<uint64_t>(status.st_size);
    }
    bool readFailed = false;
    const ByteSource source = [&handle, &readFailed](std::span<uint8_t> buffer) -> std::size_t {
        ssize_t got = 0;
        do {
            got = ::read(handle.get(), buffer.data(), buffer.size());
        } while (got < 0 && errno == EINTR);
        readFailed = readFailed || got < 0;
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    };
    try {
        std::optional<std::vector<MelodyEvent>> events = readMelodyFile(source, fileLength);
        if (readFailed) {
            return {};
        }
        if (!events) {
            return {MelodyLoadStatus::Invalid, {}};
        }
        return {MelodyLoadStatus::Loaded, std::move(*events)};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace ladoton
