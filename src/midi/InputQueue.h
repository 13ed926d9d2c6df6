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
// waits nor allocates, so the JACK server's process thread may push.
//
// A push that does not fit whole is dropped, and the place where it was lost is marked in the
// stream, as is the loss of the source (from any thread): the reader takes everything queued
// before the mark, then learns of the loss, then reads on.
class InputQueue {
  public:
    explicit InputQueue(std::size_t capacity = std::size_t{1} << 16);

    bool push(const uint8_t* bytes, std::size_t size);
    // Messages were lost here: what was pushed so far comes before the loss.
    void markLoss();
    // Moves up to `room` bytes into `out`, stopping at a mark of loss; the count moved.
    std::size_t pop(uint8_t* out, std::size_t room);
    // Whether the reader has come to a mark of loss; true once for each place marked, or once
    // for several places marked before the reader came to the first.
    bool takeLoss();

  private:
    std::unique_ptr<uint8_t[]> ring_;
    std::size_t capacity_;
    std::atomic<std::size_t> head_{0}; // written by the pushing thread
    std::atomic<std::size_t> tail_{0}; // written by the popping thread
    // 1 + the count of bytes pushed before the latest loss; 0 when there is none to tell.
    std::atomic<std::size_t> lossAt_{0};
};

} // namespace ladoton
