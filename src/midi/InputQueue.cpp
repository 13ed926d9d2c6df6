#include "midi/InputQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

namespace ladoton {

InputWakeup::InputWakeup() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

InputWakeup::~InputWakeup() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void InputWakeup::signal() {
    if (fd_ < 0 || pending_.exchange(true)) {
        return;
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

// The descriptor is emptied before the wake-up is taken back: a signal in between then finds
// it still pending and writes nothing, and what it announced is read by the caller after this.
// The other way round, that signal's write would be emptied here with the wake-up still
// pending, and every later signal would find it pending: the input would never wake again.
void InputWakeup::clear() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &count, sizeof count);
    pending_.exchange(false);
}

InputQueue::InputQueue(std::size_t capacity)
    : ring_(std::make_unique<uint8_t[]>(capacity)), capacity_(capacity) {}

bool InputQueue::push(const uint8_t* bytes, std::size_t size) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    if (capacity_ - (head - tail) < size) {
        markLoss();
        return false;
    }
    for (std::size_t i = 0; i < size; ++i) {
        ring_[(head + i) % capacity_] = bytes[i];
    }
    head_.store(head + size, std::memory_order_release);
    return true;
}

// Only the latest place is kept: notes started before an earlier loss are still held at the
// latest one, where they are ended all the same.
void InputQueue::markLoss() {
    const std::size_t at = head_.load(std::memory_order_acquire) + 1;
    std::size_t marked = lossAt_.load();
    while (marked < at && !lossAt_.compare_exchange_weak(marked, at)) {
    }
}

std::size_t InputQueue::pop(uint8_t* out, std::size_t room) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    std::size_t head = head_.load(std::memory_order_acquire);
    if (const std::size_t lossAt = lossAt_.load(); lossAt > tail) {
        head = std::min(head, lossAt - 1);
    }
    const std::size_t count = std::min(room, head - tail);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = ring_[(tail + i) % capacity_];
    }
    tail_.store(tail + count, std::memory_order_release);
    return count;
}

bool InputQueue::takeLoss() {
    std::size_t lossAt = lossAt_.load();
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    // A loss marked again meanwhile, further on, is told when the reader comes to it.
    return lossAt != 0 && lossAt - 1 <= tail && lossAt_.compare_exchange_strong(lossAt, 0);
}

} // namespace ladoton
