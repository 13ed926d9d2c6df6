#pragma once

// File-system conditions tests need and cannot otherwise get: permissions that hold
// for root, and writes that fail.

#include <csignal>
#include <cstdint>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace ladoton::testing {

// Root passes every file permission check, so a read-only folder would not stay
// read-only for tests run as root. While this object lives, the calling thread gives
// up the capabilities that bypass those checks; they come back when it goes.
class EnforcedFilePermissions {
  public:
    EnforcedFilePermissions() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        active_ = ::syscall(SYS_capget, &header_, saved_) == 0;
        if (!active_) {
            return;
        }
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &=
            ~(bit(CAP_DAC_OVERRIDE) | bit(CAP_DAC_READ_SEARCH) | bit(CAP_FOWNER));
        ::syscall(SYS_capset, &header_, reduced);
    }
    ~EnforcedFilePermissions() {
        if (active_) {
            header_.version = _LINUX_CAPABILITY_VERSION_3;
            ::syscall(SYS_capset, &header_, saved_);
        }
    }
    EnforcedFilePermissions(const EnforcedFilePermissions&) = delete;
    EnforcedFilePermissions& operator=(const EnforcedFilePermissions&) = delete;

  private:
    static uint32_t bit(int capability) { return 1u << capability; }

    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// While this object lives, no file of the process may grow beyond the given size: a
// write past it fails (with the signal it would raise ignored), as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace ladoton::testing
