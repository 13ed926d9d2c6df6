#pragma once

#include "platform/Clock.h"

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
    // Whether some voice is sounding or about to.
    virtual bool sounding() = 0;
    // Writes the next frames into the block.
    virtual void render(const StereoBlock& block) = 0;
};

// Renders a synthesizer block by block for an audio output, and lets it rest once nothing has
// been heard for a while: no voice and the effects' tails below hearing. A resting synthesizer
// renders nothing, so its output can stop asking for blocks and cost nothing while no one
// plays; a note started meanwhile wakes it with `wake`.
//
// `process` runs on the audio thread; `wake` and `resting` from any thread.
class RestingRenderer {
  public:
    static constexpr uint32_t DefaultRestAfterMs = 3000;
    // A sample below this (-80 dBFS) is silence.
    static constexpr float Silence = 1e-4F;

    RestingRenderer(SoundSource& source, Clock& clock, uint32_t restAfterMs = DefaultRestAfterMs);

    // Fills the block, with sound or with silence. False while resting: the block is silence
    // and the output need not ask again until the next `wake`.
    bool process(const StereoBlock& block);
    // Called after a note has been started: the next block renders it.
    void wake();
    bool resting() const { return resting_.load(); }

  private:
    bool heard(const StereoBlock& block) const;

    SoundSource& source_;
    Clock& clock_;
    const uint32_t restAfterMs_;
    uint32_t lastHeard_; // the audio thread's alone
    std::atomic<bool> resting_{false};
    std::atomic<bool> woken_{true};
};

} // namespace ladoton
