#pragma once

#include "midi/MidiBackend.h"
#include "synth/SoundFontSynth.h"

#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace ladoton {

inline constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// The built-in synthesizer as a device list of one: FluidSynth in the process, playing the
// system's General MIDI SoundFont on the desktop's audio.
//
// Opening it loads the library and starts the audio output, what most often fails and fails
// fast; reading the SoundFont is left to `finishOpen`, which the device list makes in the
// background (BackgroundOpenBackend) while what is sent waits there.
//
// The drum kit of channel 10 is read on a thread of its own when channel 10 is about to be
// played (`prepareChannel`), or with the SoundFont when that hint comes while it is read.
class FluidSynthBackend final : public MidiBackend {
  public:
    struct Options {
        std::string soundFont = DefaultSoundFont;
        SynthSettings synth;
    };

    explicit FluidSynthBackend(Options options);
    ~FluidSynthBackend() override;
    FluidSynthBackend(const FluidSynthBackend&) = delete;
    FluidSynthBackend& operator=(const FluidSynthBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    bool finishOpen() override;
    void send(const ShortMessage& message) override;
    void close() override;
    void prepareChannel(int channel) override;

    // Whether the synthesizer is playing what it is sent, and whether it has read channel 10's
    // drum kit (for tests).
    bool ready();
    bool drumKitReady();

  private:
    enum class State { Closed, Loading, Ready };

    std::unique_ptr<SoundFontSynth> startAudio() const;

    const Options options_;
    std::mutex mutex_;
    State state_ = State::Closed;
    bool drumKitWanted_ = false;
    std::unique_ptr<SoundFontSynth> synth_;
    std::thread drumKitReader_;
};

// Whether `path` names a readable SoundFont (a RIFF file of form "sfbk").
bool isSoundFont(const std::string& path);

} // namespace ladoton
