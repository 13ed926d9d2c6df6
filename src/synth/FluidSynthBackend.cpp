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
    if (index != 0 || !isSoundFont(options_.soundFont)) {
        return false;
    }
    std::unique_ptr<SoundFontSynth> synth = startAudio();
    if (synth == nullptr) {
        return false;
    }
    const std::lock_guard lock(mutex_);
    synth_ = std::move(synth);
    state_ = State::Loading;
    drumKitWanted_ = false;
    return true;
}

bool FluidSynthBackend::finishOpen() {
    // Nothing plays from the synthesizer while it loads: sends wait in the device list.
    if (!synth_->loadSoundFont(options_.soundFont)) {
        close();
        return false;
    }
    // A hint that comes after this look is repeated once the synthesizer is ready.
    bool drumKitWanted = false;
    {
        const std::lock_guard lock(mutex_);
        drumKitWanted = drumKitWanted_;
    }
    if (drumKitWanted) {
        synth_->prepareDrumKit();
    }
    const std::lock_guard lock(mutex_);
    state_ = State::Ready;
    return true;
}

void FluidSynthBackend::send(const ShortMessage& message) {
    const std::lock_guard lock(mutex_);
    if (state_ == State::Ready) {
        synth_->play(message);
    }
}

void FluidSynthBackend::prepareChannel(int channel) {
    if (channel != midi::DrumChannel) {
        return;
    }
    const std::lock_guard lock(mutex_);
    if (state_ == State::Loading) {
        drumKitWanted_ = true;
    } else if (state_ == State::Ready && !synth_->drumKitReady() && !drumKitReader_.joinable()) {
        drumKitReader_ = std::thread([synth = synth_.get()] { synth->prepareDrumKit(); });
    }
}

void FluidSynthBackend::close() {
    std::thread drumKitReader;
    {
        const std::lock_guard lock(mutex_);
        drumKitReader = std::move(drumKitReader_);
    }
    // A kit being read cannot be interrupted; the wait is at most that load.
    if (drumKitReader.joinable()) {
        drumKitReader.join();
    }
    std::unique_ptr<SoundFontSynth> stopped;
    {
        const std::lock_guard lock(mutex_);
        stopped = std::move(synth_);
        state_ = State::Closed;
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

} // namespace ladoton
