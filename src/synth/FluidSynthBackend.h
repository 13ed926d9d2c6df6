#pragma once

#include "midi/MidiBackend.h"
#include "midi/PendingMessages.h"
#include "synth/SoundFontSynth.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace ladoton {

inline constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// The built-in synthesizer as a device list of one: FluidSynth in the process, playing the
// system's General MIDI SoundFont on the desktop's audio.
//
// The first open, the one at start-up, checks the SoundFont and returns at once; the library,
// the SoundFont and the audio output are made ready on a thread of their own, so the window
// is shown without waiting for them. What is sent meanwhile is kept in reduced form
// (`PendingMessages`: the latest programs, controllers, bend and pressure, the held notes) and
// played when the synthesizer is ready; if it cannot start, `onFailure` is called on that
// thread and every send is dropped until the next open.
//
// Every later open is a choice of the user's from the device menu: it starts the audio output
// in place (what most often fails, and fails fast) and answers whether it started, so that such
// a failure is reported as that choice's; the SoundFont is still read in the background.
//
// The drum kit of channel 10 is read on a thread of its own when channel 10 is about to be
// played (`prepareChannel`), or with the SoundFont when that hint comes while it is read.
class FluidSynthBackend final : public MidiBackend {
  public:
    struct Options {
        std::string soundFont = DefaultSoundFont;
        SynthSettings synth;
        std::function<void()> onFailure;
    };

    explicit FluidSynthBackend(Options options);
    ~FluidSynthBackend() override;
    FluidSynthBackend(const FluidSynthBackend&) = delete;
    FluidSynthBackend& operator=(const FluidSynthBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;
    void prepareChannel(int channel) override;

    // Whether the synthesizer is playing what it is sent, and whether it has read channel 10's
    // drum kit (for tests).
    bool ready();
    bool drumKitReady();

  private:
    enum class State { Closed, Starting, Ready, Failed };

    // Reads the SoundFont into `synth`, or into a synthesizer it makes first when given none.
    void start(std::unique_ptr<SoundFontSynth> synth);
    std::unique_ptr<SoundFontSynth> startAudio() const;

    const Options options_;
    std::mutex mutex_;
    State state_ = State::Closed;
    bool closing_ = false;
    bool openedBefore_ = false;
    bool drumKitWanted_ = false;
    PendingMessages pending_;
    std::unique_ptr<SoundFontSynth> synth_;
    std::thread starter_;
    std::thread drumKitReader_;
};

// Whether `path` names a readable SoundFont (a RIFF file of form "sfbk").
bool isSoundFont(const std::string& path);

} // namespace ladoton
