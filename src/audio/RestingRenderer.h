#pragma once

#include "time/Clock.h"

#include <atomic>
#include <cstdint>

namespace ladoton {

// Frames of stereo sound; consecutive frames of a channel lie `step` floats apart.
struct StereoBlock {
    float* left = nullptr;
    float* right = nullptr;
    int frames = 0;
    int step = 1;
};

// What the renderer renders from: a synthesizer.
class SoundSource {
  public:
    virtual ~SoundSource() = default;
    // Whether some voice is held on or about to sound, however quietly. Asked on the audio
    // thread: it must not wait for anything.
    virtual bool sounding() = 0;
    // Writes the next frames into the block.
    virtual void render(const StereoBlock& block) = 0;
};

// Renders a synthesizer block by block for an audio output, and lets it rest once nothing has
// been heard for a while: no voice and the effects' tails below hearing. A resting synthesizer
// renders nothing, so its output can stop asking for blocks and cost nothing while no one
// plays; a note started meanwhile wakes it with `wake`.
//
// An output that was cut off while the synthesizer sounded (its server restarted, its callback
// held up) and asks again gets sound that fades in over a few milliseconds, rather than a jump
// from the silence it left into the middle of a waveform.
//
// `process` runs on the audio thread and waits for nothing; `wake` and `resting` from any thread.
class RestingRenderer {
  public:
    static constexpr uint32_t DefaultRestAfterMs = 3000;
    // A sample below this (-80 dBFS) is silence.
    static constexpr float Silence = 1e-4F;
    static constexpr int FadeInMs = 5;

    RestingRenderer(SoundSource& source, Clock& clock, uint32_t restAfterMs = DefaultRestAfterMs,
                    int sampleRate = 48000);

    // Fills the block, with sound or with silence. False while resting: the block is silence
    // and the output need not ask again until the next `wake`.
    bool process(const StereoBlock& block);
    // Called after a note has been started: the next block renders it.
    void wake();
    bool resting() const { return resting_.load(); }

  private:
    bool heard(const StereoBlock& block) const;
    // Whether the output stopped asking for longer than a block's delay while it sounded.
    bool interrupted(const StereoBlock& block, uint32_t now) const;
    void fadeIn(const StereoBlock& block);
    bool rest(uint32_t now);

    SoundSource& source_;
    Clock& clock_;
    const uint32_t restAfterMs_;
    const int sampleRate_;
    const int fadeFrames_;
    // The audio thread's alone:
    uint32_t lastHeard_;
    uint32_t lastAsked_ = 0;
    bool rendered_ = false; // the last block asked for was rendered, not rest
    int faded_ = 0;         // frames of the current fade-in done
    std::atomic<bool> resting_{false};
    std::atomic<bool> woken_{true};
};

} // namespace ladoton
