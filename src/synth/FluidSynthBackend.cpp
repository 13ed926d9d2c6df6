#include "synth/FluidSynthBackend.h"

#include "midi/MidiVocabulary.h"

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
        drumKitWanted_ = false;
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

void FluidSynthBackend::prepareChannel(int channel) {
    if (channel != midi::DrumChannel) {
        return;
    }
    const std::lock_guard lock(mutex_);
    if (state_ == State::Starting) {
        drumKitWanted_ = true;
    } else if (state_ == State::Ready && !synth_->drumKitReady() && !drumKitReader_.joinable()) {
        drumKitReader_ = std::thread([synth = synth_.get()] { synth->prepareDrumKit(); });
    }
}

void FluidSynthBackend::close() {
    std::thread drumKitReader;
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        drumKitReader = std::move(drumKitReader_);
    }
    // A SoundFont or a kit being read cannot be interrupted; the wait is at most that load.
    if (starter_.joinable()) {
        starter_.join();
    }
    if (drumKitReader.joinable()) {
        drumKitReader.join();
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

bool FluidSynthBackend::drumKitReady() {
    const std::lock_guard lock(mutex_);
    return state_ == State::Ready && synth_->drumKitReady();
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
    // A hint that comes after this look is repeated once the synthesizer is ready.
    bool drumKitWanted = false;
    {
        const std::lock_guard lock(mutex_);
        drumKitWanted = drumKitWanted_;
    }
    if (synth != nullptr && drumKitWanted) {
        synth->prepareDrumKit();
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
