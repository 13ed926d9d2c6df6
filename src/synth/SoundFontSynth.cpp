#include "synth/SoundFontSynth.h"

#include "audio/PipeWireLibrary.h"
#include "audio/PipeWireSynthOutput.h"
#include "midi/MidiVocabulary.h"
#include "synth/FluidSynthDriverOutput.h"

#include <algorithm>
#include <cstdio>

namespace ladoton {

namespace {
// FluidSynth counts channels from 0.
constexpr int DrumChannel = midi::DrumChannel - 1;
constexpr int DrumBank = 128; // FluidSynth's bank of drum kits
} // namespace

SoundFontSynth::SoundFontSynth(const FluidSynthApi& api, const SynthSettings& settings)
    : api_(api), audioDrivers_(settings.audioDrivers), jackOutput_(settings.jackOutput),
      driversChosen_(settings.driversChosen), sampleRate_(static_cast<int>(settings.sampleRate)),
      periodSize_(settings.periodSize),
      renderer_(*this, settings.clock != nullptr ? *settings.clock : steadyClock_,
                settings.restAfterMs, sampleRate_) {
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
    // The output's thread renders from the synthesizer: stop it first.
    output_.reset();
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
    output_ = openFirstAudioOutput(
        audioOutputs(), audioDrivers_, driversChosen_,
        [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    return output_ != nullptr;
}

AudioOutputs SoundFontSynth::audioOutputs() {
    // PipeWire's library is loaded only when its stream is wanted, or to name it as there.
    AudioOutputs table{
        {"pipewire", [] { return pipeWire() != nullptr; },
         [this] { return openPipeWireOutput(renderer_, sampleRate_, periodSize_); }}};
    std::vector<std::string> drivers;
    api_.forEachOption(settings_, "audio.driver", &drivers,
                       [](void* list, const char*, const char* option) {
                           static_cast<std::vector<std::string>*>(list)->emplace_back(option);
                       });
    for (const std::string& driver : drivers) {
        table.push_back(
            {driver, [] { return true; }, [this, driver] { return openFluidSynthOutput(driver); }});
    }
    return table;
}

std::unique_ptr<SynthOutput> SoundFontSynth::openFluidSynthOutput(const std::string& driver) {
    if (driver == "jack" && jackOutput_) {
        if (std::unique_ptr<SynthOutput> own = jackOutput_(renderer_, sampleRate_)) {
            return own;
        }
    }
    if (api_.setStr(settings_, "audio.driver", driver.c_str()) != FLUID_OK) {
        return nullptr;
    }
    return openFluidSynthDriver(api_, driver, settings_, synth_, renderer_);
}

void SoundFontSynth::play(const ShortMessage& message) {
    const int channel = message.channelIndex();
    if (channel == DrumChannel && !drumKitReady_.load()) {
        // A program change that makes the drum channel reads only the kit it names.
        const bool programChange = message.kind() == midi::ProgramChange;
        if (prepareDrumKit(programChange ? message.data1() : 0) && programChange) {
            return;
        }
    }
    send(message);
    // A drum kit's sounds end by themselves, held or not, and drum machines often send no
    // note-offs: the drum channel holds nothing.
    if (channel != DrumChannel) {
        holds_.apply(message);
        heldNotes_.store(holds_.count(), std::memory_order_relaxed);
    }
    const bool noteStarted = message.kind() == midi::NoteOn && message.data2() != 0;
    if (noteStarted) {
        wake();
    }
}

void SoundFontSynth::send(const ShortMessage& message) {
    const int channel = message.channelIndex();
    const int data1 = message.data1();
    const int data2 = message.data2();
    switch (message.kind()) {
    case midi::NoteOff:
        api_.noteOff(synth_, channel, data1);
        break;
    case midi::NoteOn:
        if (data2 == 0) {
            api_.noteOff(synth_, channel, data1);
        } else {
            api_.noteOn(synth_, channel, data1, data2);
        }
        break;
    case midi::KeyPressure:
        api_.keyPressure(synth_, channel, data1, data2);
        break;
    case midi::ControlChange:
        api_.controlChange(synth_, channel, data1, data2);
        break;
    case midi::ProgramChange:
        api_.programChange(synth_, channel, data1);
        break;
    case midi::ChannelPressure:
        api_.channelPressure(synth_, channel, data1);
        break;
    case midi::PitchBend:
        api_.pitchBend(synth_, channel, data1 | (data2 << 7));
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
    api_.programChange(synth_, DrumChannel, program & midi::DataMask);
    drumKitReady_.store(true);
    return true;
}

void SoundFontSynth::wake() {
    renderer_.wake();
    if (output_ != nullptr) {
        output_->wake();
    }
}

bool SoundFontSynth::sounding() {
    return heldNotes_.load(std::memory_order_relaxed) > 0;
}

void SoundFontSynth::render(const StereoBlock& block) {
    api_.writeFloat(synth_, block.frames, block.left, 0, block.step, block.right, 0, block.step);
}

void SoundFontSynth::render(std::span<float> left, std::span<float> right) {
    const auto frames = static_cast<int>(std::min(left.size(), right.size()));
    api_.writeFloat(synth_, frames, left.data(), 0, 1, right.data(), 0, 1);
}

} // namespace ladoton
