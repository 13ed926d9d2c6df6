#include "devices/BackgroundOpenBackend.h"

namespace ladoton {

BackgroundOpenBackend::BackgroundOpenBackend(std::unique_ptr<MidiBackend> devices,
                                             std::function<void()> onFailure)
    : devices_(std::move(devices)), onFailure_(std::move(onFailure)) {}

BackgroundOpenBackend::~BackgroundOpenBackend() {
    waitForBackground();
}

std::vector<std::string> BackgroundOpenBackend::listDevices() {
    {
        const std::lock_guard lock(mutex_);
        if (state_ != State::Opening) {
            return devices_->listDevices();
        }
    }
    waitForBackground();
    return devices_->listDevices();
}

bool BackgroundOpenBackend::open(int index) {
    waitForBackground();
    if (!firstOpenMade_) {
        firstOpenMade_ = true;
        startInBackground(State::Opening, [this, index] {
            return devices_->open(index) && devices_->finishOpen();
        });
        return true;
    }
    if (!devices_->open(index)) {
        const std::lock_guard lock(mutex_);
        state_ = State::Failed;
        return false;
    }
    startInBackground(State::Finishing, [this] { return devices_->finishOpen(); });
    return true;
}

void BackgroundOpenBackend::startInBackground(State state, std::function<bool()> start) {
    {
        const std::lock_guard lock(mutex_);
        state_ = state;
        pending_.clear();
    }
    starter_ = std::thread(&BackgroundOpenBackend::finish, this, std::move(start));
}

void BackgroundOpenBackend::send(const ShortMessage& message) {
    const std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Opening:
    case State::Finishing:
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
    if (state_ == State::Open || state_ == State::Finishing) {
        devices_->prepareChannel(channel);
    }
}

void BackgroundOpenBackend::close() {
    waitForBackground();
    devices_->close();
    const std::lock_guard lock(mutex_);
    state_ = State::Idle;
}

void BackgroundOpenBackend::finish(const std::function<bool()>& start) {
    const bool ready = start();
    std::unique_lock lock(mutex_);
    if (!ready) {
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

// A SoundFont or a connection being made cannot be interrupted; the wait is at most that.
void BackgroundOpenBackend::waitForBackground() {
    if (starter_.joinable()) {
        starter_.join();
    }
}

} // namespace ladoton
