#include "midi/SoundFontSynth.h"

#include <algorithm>

namespace ladoton {

namespace {
constexpr int DrumChannel = 9; // channel 10 counted from 0
constexpr int DrumBank = 128;  // FluidSynth's bank of drum kits
} // namespace

SoundFontSynth::SoundFontSynth(const FluidSynthApi& api, const SynthSettings& settings)
    : api_(api), audioDrivers_(settings.audioDrivers) {
    settings_ = api_.newSettings();
    if (settings_ == nullptr) {
        return;
    }
    api_.setNum(settings_, "synth.sample-rate", settings.sampleRate);
    api_.setNum(settings_, "synth.gain", settings.gain);
    // A large SoundFont would otherwise be read into memory whole; this way only the samples
    // of the programs chosen on some channel are, read while the program change is handled,
    // so the first note of a new program already has them.
    api_.setInt(settings_, "synth.dynamic-sample-loading", 1);
    api_.setInt(settings_, "audio.period-size", settings.periodSize);
    api_.setInt(settings_, "audio.periods", settings.periods);
    // Otherwise PulseAudio picks its own, much longer buffer (about 100 ms).
    api_.setInt(settings_, "audio.pulseaudio.adjust-latency", 0);
    // A JACK server has no default output: connect to the system's playback ports.
    api_.setInt(settings_, "audio.jack.autoconnect", 1);
    api_.setStr(settings_, "audio.jack.id", "Ladoton-synth");
    if (!settings.audioFile.empty()) {
        api_.setStr(settings_, "audio.file.name", settings.audioFile.c_str());
        api_.setStr(settings_, "audio.file.type", "raw");
        api_.setStr(settings_, "audio.file.format", "float");
    }
    synth_ = api_.newSynth(settings_);
    if (synth_ != nullptr) {
        // Until its kit is needed channel 10 is a melodic channel on program 0, whose samples
        // channel 1 has read anyway, so loading the SoundFont reads no kit.
        api_.setChannelType(synth_, DrumChannel, CHANNEL_TYPE_MELODIC);
        api_.bankSelect(synth_, DrumChannel, 0);
    }
}

std::unique_ptr<SoundFontSynth> SoundFontSynth::create(const FluidSynthApi& api,
                                                       const SynthSettings& settings) {
    std::unique_ptr<SoundFontSynth> synth(new SoundFontSynth(api, settings));
    if (synth->synth_ == nullptr) {
        return nullptr;
    }
    return synth;
}

SoundFontSynth::~SoundFontSynth() {
    // The driver's thread renders from the synthesizer: stop it first.
    if (driver_ != nullptr) {
        api_.deleteAudioDriver(driver_);
    }
    if (synth_ != nullptr) {
        api_.deleteSynth(synth_);
    }
    if (settings_ != nullptr) {
        api_.deleteSettings(settings_);
    }
}

bool SoundFontSynth::loadSoundFont(const std::string& path) {
    return api_.loadSoundFont(synth_, path.c_str(), 1) != FLUID_FAILED;
}

bool SoundFontSynth::startAudio() {
    for (const std::string& driver : audioDrivers_) {
        if (api_.setStr(settings_, "audio.driver", driver.c_str()) != FLUID_OK) {
            continue;
        }
        driver_ = api_.newAudioDriver(settings_, synth_);
        if (driver_ != nullptr) {
            return true;
        }
    }
    return false;
}

void SoundFontSynth::play(const ShortMessage& message) {
    const int channel = message.bytes[0] & 0x0F;
    const int data1 = message.bytes[1] & 0x7F;
    const int data2 = message.bytes[2] & 0x7F;
    const int kind = message.bytes[0] & 0xF0;
    if (channel == DrumChannel && !drumKitReady_.load()) {
        // A program change that makes the drum channel reads only the kit it names.
        const bool programChange = kind == 0xC0;
        if (prepareDrumKit(programChange ? data1 : 0) && programChange) {
            return;
        }
    }
    switch (kind) {
    case 0x90:
        if (data2 == 0) {
            api_.noteOff(synth_, channel, data1);
        } else {
            api_.noteOn(synth_, channel, data1, data2);
        }
        break;
    case 0x80:
        api_.noteOff(synth_, channel, data1);
        break;
    case 0xC0:
        api_.programChange(synth_, channel, data1);
        break;
    default:
        break;
    }
}

bool SoundFontSynth::prepareDrumKit(int program) {
    const std::lock_guard lock(drumKitMutex_);
    if (drumKitReady_.load()) {
        return false;
    }
    api_.setChannelType(synth_, DrumChannel, CHANNEL_TYPE_DRUM);
    api_.bankSelect(synth_, DrumChannel, DrumBank);
    api_.programChange(synth_, DrumChannel, program & 0x7F);
    drumKitReady_.store(true);
    return true;
}

void SoundFontSynth::render(std::span<float> left, std::span<float> right) {
    const auto frames = static_cast<int>(std::min(left.size(), right.size()));
    api_.writeFloat(synth_, frames, left.data(), 0, 1, right.data(), 0, 1);
}

} // namespace ladoton
