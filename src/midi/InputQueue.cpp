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

void InputWakeup::clear() {
    pending_.store(false);
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &count, sizeof count);
}

InputQueue::InputQueue(std::size_t capacity)
    : ring_(std::make_unique<uint8_t[]>(capacity)), capacity_(capacity) {}

bool InputQueue::push(const uint8_t* bytes, std::size_t size) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    if (capacity_ - (head - tail) < size) {
        overflowed_.store(true);
        return false;
    }
    for (std::size_t i = 0; i < size; ++i) {
        ring_[(head + i) % capacity_] = bytes[i];
    }
    head_.store(head + size, std::memory_order_release);
    return true;
}

std::size_t InputQueue::pop(uint8_t* out, std::size_t room) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t head = head_.load(std::memory_order_acquire);
    const std::size_t count = std::min(room, head - tail);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = ring_[(tail + i) % capacity_];
    }
    tail_.store(tail + count, std::memory_order_release);
    return count;
}

} // namespace ladoton
