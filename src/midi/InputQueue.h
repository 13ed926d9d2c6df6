#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ladoton {

// Wakes the window's thread when MIDI input has arrived: a file descriptor that becomes
// readable, for the window's event loop to watch. Signalled from any thread without waiting;
// a wake-up already pending is not signalled again.
class InputWakeup {
  public:
    InputWakeup();
    ~InputWakeup();
    InputWakeup(const InputWakeup&) = delete;
    InputWakeup& operator=(const InputWakeup&) = delete;

    int fd() const { return fd_; }
    void signal();
    // Called by the woken thread before it looks at what arrived, so that what arrives while
    // it looks signals again.
    void clear();

  private:
    int fd_;
    std::atomic<bool> pending_{false};
};

// Bytes from one thread (a MIDI library's) to another (the window's), lock-free: a push never
// waits nor allocates, so the JACK server's process thread may push. A push that does not fit
// whole is dropped and remembered as an overflow.
class InputQueue {
  public:
    explicit InputQueue(std::size_t capacity = std::size_t{1} << 16);

    bool push(const uint8_t* bytes, std::size_t size);
    // Moves up to `room` bytes into `out`; the count moved.
    std::size_t pop(uint8_t* out, std::size_t room);
    // Whether a push was dropped since the last call.
    bool takeOverflow() { return overflowed_.exchange(false); }

  private:
    std::unique_ptr<uint8_t[]> ring_;
    std::size_t capacity_;
    std::atomic<std::size_t> head_{0}; // written by the pushing thread
    std::atomic<std::size_t> tail_{0}; // written by the popping thread
    std::atomic<bool> overflowed_{false};
};

} // namespace ladoton
