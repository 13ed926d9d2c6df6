#pragma once

#include "audio/AudioOutputs.h"
#include "audio/RestingRenderer.h"
#include "audio/SynthOutput.h"
#include "midi/MidiMessage.h"
#include "synth/FluidSynthLibrary.h"
#include "synth/NoteHolds.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace ladoton {

struct SynthSettings {
    double sampleRate = 48000;
    // The audio buffer: a period of 256 frames, two of them, so at most 512 frames (10.7 ms)
    // lie between a key and its sound on ALSA, and a 256-frame target (5.3 ms) on PulseAudio;
    // on PipeWire the stream asks for a quantum of one period.
    int periodSize = 256;
    int periods = 2;
    // FluidSynth's default of 0.2 leaves a General MIDI SoundFont some 40 dB below full scale.
    double gain = 0.6;
    // Audio drivers, tried in this order; the first that opens plays. "pipewire" is the
    // program's own stream, the others FluidSynth's drivers.
    std::vector<std::string> audioDrivers = defaultAudioDrivers();
    // Whether the drivers were named by the user, who then learns of those the machine lacks.
    bool driversChosen = false;
    // Rendering rests after this long without a sound.
    uint32_t restAfterMs = RestingRenderer::DefaultRestAfterMs;
    // The clock of that rest; the steady clock when none is given.
    Clock* clock = nullptr;
    // Where the "file" audio driver writes raw 32-bit float stereo (for tests).
    std::string audioFile;
    // The program's own output for the "jack" driver, at the synthesizer's sample rate; where
    // it gives none, FluidSynth's JACK driver plays.
    std::function<std::unique_ptr<SynthOutput>(RestingRenderer&, int sampleRate)> jackOutput;
};

// One FluidSynth synthesizer: General MIDI, the drum kit on channel 10, optionally playing on
// the desktop's audio. Its audio output renders through a RestingRenderer, so that it renders
// nothing while no one plays.
//
// A large SoundFont's drum kit alone weighs megabytes, and many users never play channel 10:
// the kit is read when channel 10 is first played, or earlier when `prepareDrumKit` is called
// for a channel 10 that is about to be played.
class SoundFontSynth final : private SoundSource {
  public:
    // nullptr when the synthesizer cannot be made.
    static std::unique_ptr<SoundFontSynth> create(const FluidSynthApi& api,
                                                  const SynthSettings& settings);
    ~SoundFontSynth() override;
    SoundFontSynth(const SoundFontSynth&) = delete;
    SoundFontSynth& operator=(const SoundFontSynth&) = delete;

    bool loadSoundFont(const std::string& path);
    // Starts the first audio driver of the settings that opens; false when none does.
    bool startAudio();
    // Any channel message: notes, controllers and pedals, programs, pitch bend and pressure.
    // From one thread at a time.
    void play(const ShortMessage& message);
    // Reads drum kit `program` for channel 10 unless channel 10 has one already; from any
    // thread, and a play on channel 10 meanwhile waits for it. True when this call read it.
    bool prepareDrumKit(int program = 0);
    bool drumKitReady() const { return drumKitReady_.load(); }
    // Renders the next frames without an audio driver (both spans of the same length).
    void render(std::span<float> left, std::span<float> right);
    // What the audio output renders through.
    RestingRenderer& renderer() { return renderer_; }

  private:
    SoundFontSynth(const FluidSynthApi& api, const SynthSettings& settings);
    bool sounding() override;
    void render(const StereoBlock& block) override;
    // The drivers this machine has, PipeWire's stream among them if asked and there.
    // The outputs it can play on, in the order this machine lists them: PipeWire's stream, then
    // FluidSynth's drivers, JACK's through the program's own client where it can.
    AudioOutputs audioOutputs();
    std::unique_ptr<SynthOutput> openFluidSynthOutput(const std::string& driver);
    void send(const ShortMessage& message);
    // After a note was started: rendering and the output start again if they rest.
    void wake();

    const FluidSynthApi& api_;
    std::vector<std::string> audioDrivers_;
    std::function<std::unique_ptr<SynthOutput>(RestingRenderer&, int)> jackOutput_;
    bool driversChosen_;
    int sampleRate_;
    int periodSize_;
    SteadyClock steadyClock_;
    RestingRenderer renderer_;
    std::unique_ptr<SynthOutput> output_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::mutex drumKitMutex_;
    std::atomic<bool> drumKitReady_{false};
    // What the rest waits for, kept by `play` and read by the audio thread, which asks the
    // synthesizer nothing: its queries wait for the lock a program change holds while it reads.
    NoteHolds holds_;
    std::atomic<int> heldNotes_{0};
};

} // namespace ladoton
