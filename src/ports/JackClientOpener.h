#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

struct _jack_client; // NOLINT(bugprone-reserved-identifier): libjack's own name

namespace ladoton {

// Opens libjack clients, one attempt at a time, each on a thread of its own: libjack may not
// answer for a long while when it reaches a server that is just stopping, and no caller waits
// for it past a limit. An attempt that is not back in time goes on; the client it brings, if
// any, is handed to a later caller.
class JackClientOpener {
  public:
    explicit JackClientOpener(const char* name) : name_(name) {}
    JackClientOpener(const JackClientOpener&) = delete;
    JackClientOpener& operator=(const JackClientOpener&) = delete;

    // A client of the server running now, never starting one; null when none runs, or when
    // libjack has not answered within `limit`.
    _jack_client* open(std::chrono::milliseconds limit);

  private:
    struct Attempt {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        _jack_client* client = nullptr;
    };

    const char* name_;
    std::mutex mutex_;
    std::shared_ptr<Attempt> attempt_; // under way, or back and not taken yet
};

} // namespace ladoton
