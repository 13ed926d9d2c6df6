#include "devices/BackgroundOpenBackend.h"

namespace ladoton {

BackgroundOpenBackend::BackgroundOpenBackend(std::unique_ptr<MidiBackend> devices,
                                             std::function<void()> onFailure)
    : devices_(std::move(devices)), onFailure_(std::move(onFailure)) {}

BackgroundOpenBackend::~BackgroundOpenBackend() {
    waitForFirstOpen();
}

std::vector<std::string> BackgroundOpenBackend::listDevices() {
    waitForFirstOpen();
    return devices_->listDevices();
}

bool BackgroundOpenBackend::open(int index) {
    if (!firstOpenMade_) {
        firstOpenMade_ = true;
        state_ = State::Opening;
        opener_ = std::thread(&BackgroundOpenBackend::openInBackground, this, index);
        return true;
    }
    waitForFirstOpen();
    const bool opened = devices_->open(index);
    const std::lock_guard lock(mutex_);
    state_ = opened ? State::Open : State::Failed;
    return opened;
}

void BackgroundOpenBackend::send(const ShortMessage& message) {
    const std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Opening:
        pending_.add(message);
        break;
    case State::Open:
        devices_->send(message);
        break;
    case State::Idle:
    case State::Failed:
        break;
    }
}

void BackgroundOpenBackend::prepareChannel(int channel) {
    // While the first open runs the devices are not to be called; the hint comes again.
    const std::lock_guard lock(mutex_);
    if (state_ == State::Open) {
        devices_->prepareChannel(channel);
    }
}

void BackgroundOpenBackend::close() {
    waitForFirstOpen();
    devices_->close();
    const std::lock_guard lock(mutex_);
    state_ = State::Idle;
}

void BackgroundOpenBackend::openInBackground(int index) {
    const bool opened = devices_->open(index);
    std::unique_lock lock(mutex_);
    if (!opened) {
        state_ = State::Failed;
        pending_.clear();
        lock.unlock();
        if (onFailure_) {
            onFailure_();
        }
        return;
    }
    for (const ShortMessage& message : pending_.replay()) {
        devices_->send(message);
    }
    pending_.clear();
    state_ = State::Open;
}

void BackgroundOpenBackend::waitForFirstOpen() {
    if (opener_.joinable()) {
        opener_.join();
    }
}

} // namespace ladoton
