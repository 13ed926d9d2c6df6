// The built-in synthesizer's audio thread while another thread holds the synthesizer, as a
// program change does while it reads its samples from disk. FluidSynth's functions are given
// here through a gate that, while closed, holds every call but the rendering, as FluidSynth's
// own lock holds its calls.
#include "AudioAnalysis.h"
#include "ManualClock.h"
#include "synth/FluidSynthBackend.h"
#include "synth/SoundFontSynth.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace ladoton {
namespace {

class Gate {
  public:
    void close() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    void open() {
        const std::lock_guard lock(mutex_);
        closed_ = false;
        changed_.notify_all();
    }
    // A call of the synthesizer's: waits while the gate is closed.
    void pass() {
        std::unique_lock lock(mutex_);
        if (closed_) {
            ++waiting_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !closed_; });
            --waiting_;
        }
    }
    void finish() {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // Until the work ended or a call of it waits at the gate; true when one waits.
    bool waitedAtTheGate() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return finished_ || waiting_ > 0; });
        return !finished_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool closed_ = false;
    bool finished_ = false;
    int waiting_ = 0;
};

Gate gate;
const FluidSynthApi* library = nullptr;

// FluidSynthApi's function `Field`, through the gate.
template <auto Field, typename = decltype(Field)> struct Gated;
template <auto Field, typename Result, typename... Arguments>
struct Gated<Field, Result (*FluidSynthApi::*)(Arguments...)> {
    static Result call(Arguments... arguments) {
        gate.pass();
        return (library->*Field)(arguments...);
    }
};

template <auto... Fields> void gateAll(FluidSynthApi& api) {
    ((api.*Fields = &Gated<Fields>::call), ...);
}

// Every call but the rendering through the gate.
FluidSynthApi gatedApi() {
    FluidSynthApi api = *library;
    gateAll<&FluidSynthApi::newSynth, &FluidSynthApi::deleteSynth, &FluidSynthApi::loadSoundFont,
            &FluidSynthApi::noteOn, &FluidSynthApi::noteOff, &FluidSynthApi::programChange,
            &FluidSynthApi::controlChange, &FluidSynthApi::pitchBend,
            &FluidSynthApi::channelPressure, &FluidSynthApi::keyPressure,
            &FluidSynthApi::bankSelect, &FluidSynthApi::setChannelType,
            &FluidSynthApi::newAudioDriver, &FluidSynthApi::newAudioDriverWithCallback,
            &FluidSynthApi::deleteAudioDriver>(api);
    return api;
}

TEST(SynthAudioThread, RendersWhileAnotherThreadHoldsTheSynthesizer) {
    if (!isSoundFont(DefaultSoundFont)) {
        GTEST_SKIP() << "no General MIDI SoundFont at " << DefaultSoundFont;
    }
    library = fluidSynth();
    ASSERT_NE(library, nullptr);
    const FluidSynthApi api = gatedApi();
    testing::ManualClock clock;
    SynthSettings settings;
    settings.clock = &clock;
    auto synth = SoundFontSynth::create(api, settings);
    ASSERT_NE(synth, nullptr);
    ASSERT_TRUE(synth->loadSoundFont(DefaultSoundFont));
    synth->play(*noteOnMessage(1, 60, 100));

    constexpr int Frames = 2048;
    std::vector<float> left(Frames), right(Frames);
    gate.close();
    std::thread audio([&] {
        synth->renderer().process({left.data(), right.data(), Frames, 1});
        gate.finish();
    });
    const bool waited = gate.waitedAtTheGate();
    gate.open();
    audio.join();
    EXPECT_FALSE(waited) << "the audio thread waited for the synthesizer";
    EXPECT_GT(testing::rms(right), 0.001) << "the held note was not rendered";
}

} // namespace
} // namespace ladoton
