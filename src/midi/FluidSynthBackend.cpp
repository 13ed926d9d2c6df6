#include "midi/FluidSynthBackend.h"

#include <array>
#include <fstream>
#include <string_view>

namespace ladoton {

bool isSoundFont(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<char, 12> header{};
    if (!file.read(header.data(), header.size())) {
        return false;
    }
    const std::string_view text(header.data(), header.size());
    return text.substr(0, 4) == "RIFF" && text.substr(8, 4) == "sfbk";
}

FluidSynthBackend::FluidSynthBackend(Options options) : options_(std::move(options)) {}

FluidSynthBackend::~FluidSynthBackend() {
    close();
}

std::vector<std::string> FluidSynthBackend::listDevices() {
    return {"Встроенный синтезатор"};
}

bool FluidSynthBackend::open(int index) {
    close();
    const bool atStart = !openedBefore_;
    openedBefore_ = true;
    if (index != 0 || !isSoundFont(options_.soundFont)) {
        return false;
    }
    std::unique_ptr<SoundFontSynth> audio;
    if (!atStart) {
        audio = startAudio();
        if (audio == nullptr) {
            return false;
        }
    }
    {
        const std::lock_guard lock(mutex_);
        state_ = State::Starting;
        closing_ = false;
        pending_.clear();
    }
    starter_ = std::thread(&FluidSynthBackend::start, this, std::move(audio));
    return true;
}

void FluidSynthBackend::send(const ShortMessage& message) {
    const std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Ready:
        synth_->play(message);
        break;
    case State::Starting:
        pending_.add(message);
        break;
    case State::Closed:
    case State::Failed:
        break;
    }
}

void FluidSynthBackend::close() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    // A SoundFont being read cannot be interrupted; the wait is at most that one load.
    if (starter_.joinable()) {
        starter_.join();
    }
    std::unique_ptr<SoundFontSynth> stopped;
    {
        const std::lock_guard lock(mutex_);
        stopped = std::move(synth_);
        state_ = State::Closed;
        pending_.clear();
    }
    // The audio driver stops with the synthesizer, outside the lock.
}

bool FluidSynthBackend::ready() {
    const std::lock_guard lock(mutex_);
    return state_ == State::Ready;
}

std::unique_ptr<SoundFontSynth> FluidSynthBackend::startAudio() const {
    const FluidSynthApi* api = fluidSynth();
    if (api == nullptr) {
        return nullptr;
    }
    auto synth = SoundFontSynth::create(*api, options_.synth);
    if (synth == nullptr || !synth->startAudio()) {
        return nullptr;
    }
    return synth;
}

void FluidSynthBackend::start(std::unique_ptr<SoundFontSynth> synth) {
    // The audio output first: it is what most often fails, and it fails fast.
    if (synth == nullptr) {
        synth = startAudio();
    }
    if (synth != nullptr && !synth->loadSoundFont(options_.soundFont)) {
        synth = nullptr;
    }
    std::unique_lock lock(mutex_);
    if (closing_) {
        // close() takes it from here, on its own thread.
        synth_ = std::move(synth);
        return;
    }
    if (synth == nullptr) {
        state_ = State::Failed;
        pending_.clear();
        lock.unlock();
        if (options_.onFailure) {
            options_.onFailure();
        }
        return;
    }
    for (const ShortMessage& message : pending_.replay()) {
        synth->play(message);
    }
    pending_.clear();
    synth_ = std::move(synth);
    state_ = State::Ready;
}

} // namespace ladoton
