#include "ports/AlsaOutputSender.h"

#include <rtmidi/RtMidi.h>

#include <chrono>

namespace ladoton {

namespace {

constexpr auto RetryPeriod = std::chrono::milliseconds(2);

// RtMidi reports a failed send through the error callback, as a warning, and drops the message.
void noteSendFailure(RtMidiError::Type, const std::string&, void* failed) {
    *static_cast<bool*>(failed) = true;
}

} // namespace

AlsaOutputSender::AlsaOutputSender()
    : sender_([this](const ShortMessage& message) { return trySend(message); }),
      retrier_(&AlsaOutputSender::retryWhileWaiting, this) {}

AlsaOutputSender::~AlsaOutputSender() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    retrier_.join();
}

void AlsaOutputSender::setOutput(RtMidiOut* output) {
    const std::lock_guard lock(mutex_);
    sender_.clear();
    output_ = output;
    if (output_ != nullptr) {
        output_->setErrorCallback(&noteSendFailure, &sendFailed_);
    }
}

void AlsaOutputSender::send(const ShortMessage& message) {
    const std::lock_guard lock(mutex_);
    if (output_ == nullptr) {
        return;
    }
    sender_.send(message);
    if (sender_.waiting()) {
        wake_.notify_one();
    }
}

bool AlsaOutputSender::trySend(const ShortMessage& message) {
    sendFailed_ = false;
    try {
        output_->sendMessage(message.bytes.data(), message.size);
    } catch (const RtMidiError&) {
        sendFailed_ = true;
    }
    return !sendFailed_;
}

void AlsaOutputSender::retryWhileWaiting() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (output_ != nullptr && sender_.waiting()) {
            wake_.wait_for(lock, RetryPeriod);
            if (output_ != nullptr) {
                sender_.retry();
            }
        } else {
            wake_.wait(lock);
        }
    }
}

} // namespace ladoton
