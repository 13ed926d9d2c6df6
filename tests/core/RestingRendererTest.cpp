// The resting renderer over a synthesizer that plays a steady tone, on a manual clock.
#include "audio/RestingRenderer.h"
#include "ManualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace ladoton {
namespace {

constexpr int Rate = 48000;
constexpr int BlockFrames = 240; // 5 ms
constexpr uint32_t BlockMs = 5;

// A sine of `level` while `voice` is held or `level` is audible; silence otherwise.
class Tone final : public SoundSource {
  public:
    bool voice = false;
    float level = 0.5F;

    bool sounding() override { return voice; }
    void render(const StereoBlock& block) override {
        for (int frame = 0; frame < block.frames; ++frame, ++phase_) {
            const auto value =
                static_cast<float>(level * std::sin(2 * std::numbers::pi * 441.0 * phase_ / Rate));
            block.left[frame * block.step] = value;
            block.right[frame * block.step] = -value;
        }
    }

  private:
    long phase_ = 0;
};

class RestingRendererTest : public ::testing::Test {
  protected:
    // Interleaved stereo, as PipeWire's stream asks for it.
    bool block(std::vector<float>& frames) {
        frames.assign(2 * BlockFrames, 1.0F);
        const bool sounding = renderer.process({frames.data(), frames.data() + 1, BlockFrames, 2});
        clock.advance(BlockMs);
        return sounding;
    }
    // Blocks for `ms`; false once the renderer rests.
    bool run(uint32_t ms) {
        std::vector<float> frames;
        for (uint32_t elapsed = 0; elapsed < ms; elapsed += BlockMs) {
            if (!block(frames)) {
                return false;
            }
        }
        return true;
    }
    // The loudest of frames [from, to) of the left channel.
    static float peak(const std::vector<float>& frames, int from, int to) {
        float loudest = 0;
        for (int frame = from; frame < to; ++frame) {
            loudest = std::max(loudest, std::fabs(frames[2 * frame]));
        }
        return loudest;
    }
    static float largestStep(const std::vector<float>& frames) {
        float step = std::fabs(frames[0]);
        for (std::size_t i = 2; i < frames.size(); i += 2) {
            step = std::max(step, std::fabs(frames[i] - frames[i - 2]));
        }
        return step;
    }

    testing::ManualClock clock;
    Tone tone;
    RestingRenderer renderer{tone, clock, 3000, Rate};
};

// A held voice keeps the synthesizer awake however quiet it is; once nothing is held and
// nothing heard, it rests, and every frame of both channels is silence.
TEST_F(RestingRendererTest, RestsWhenNoVoiceIsHeldAndNothingIsHeard) {
    tone.voice = true;
    tone.level = 1e-5F; // -100 dBFS
    EXPECT_TRUE(run(20000));
    tone.voice = false;
    EXPECT_FALSE(run(4000));
    EXPECT_TRUE(renderer.resting());
    std::vector<float> frames;
    EXPECT_FALSE(block(frames));
    EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), [](float s) { return s == 0; }));

    tone.level = 0.5F; // an audible tail keeps it awake without a held voice
    renderer.wake();
    EXPECT_TRUE(run(10000));
}

// An output that stops asking while the tone sounds, and asks again a second later, gets the
// tone faded in from silence; the first block after a rest, or ever, is not faded.
TEST_F(RestingRendererTest, FadesInAfterTheOutputWasCutOffNotAfterARest) {
    // A quarter of a block holds more than half a period of the tone, and so one of its peaks.
    constexpr int Quarter = BlockFrames / 4;
    tone.voice = true;
    std::vector<float> frames;
    ASSERT_TRUE(block(frames));
    const float steady = largestStep(frames);
    EXPECT_GT(peak(frames, 0, Quarter), 0.45F) << "the first block ever was faded";
    run(100);
    clock.advance(1000);
    ASSERT_TRUE(block(frames));
    EXPECT_LT(peak(frames, 0, Quarter), 0.15F) << "the sound jumped in after the gap";
    EXPECT_LE(largestStep(frames), steady * 1.1F);
    ASSERT_TRUE(block(frames));
    EXPECT_GT(peak(frames, 0, Quarter), 0.45F) << "the fade went on past its 5 ms";

    tone.voice = false;
    tone.level = 0;
    ASSERT_FALSE(run(4000));
    clock.advance(1000);
    tone.voice = true;
    tone.level = 0.5F;
    renderer.wake();
    ASSERT_TRUE(block(frames));
    EXPECT_GT(peak(frames, 0, Quarter), 0.45F) << "a note after a rest was faded in";
}

} // namespace
} // namespace ladoton
