// The built-in synthesizer's rest: FluidSynth rendering block by block into memory as an audio
// output would ask for it, on a manual clock.
#include "ManualClock.h"
#include "midi/MidiMessage.h"
#include "synth/FluidSynthBackend.h"
#include "synth/SoundFontSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace ladoton {
namespace {

constexpr int BlockFrames = 240; // 5 ms at 48 kHz
constexpr uint32_t BlockMs = 5;
constexpr uint32_t RestAfterMs = 3000;
constexpr float Audible = 1e-3F;

struct Output {
    std::vector<float> left;
    bool rested = false;
};

class SynthRestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!isSoundFont(DefaultSoundFont)) {
            GTEST_SKIP() << "no General MIDI SoundFont at " << DefaultSoundFont;
        }
        synth = make();
        ASSERT_NE(synth, nullptr);
    }

    std::unique_ptr<SoundFontSynth> make(double gain = SynthSettings{}.gain) {
        SynthSettings settings;
        settings.clock = &clock;
        settings.restAfterMs = RestAfterMs;
        settings.gain = gain;
        auto made = SoundFontSynth::create(*fluidSynth(), settings);
        if (made != nullptr && !made->loadSoundFont(DefaultSoundFont)) {
            return nullptr;
        }
        return made;
    }

    static float loudest(const Output& output) {
        float loudest = 0;
        for (const float sample : output.left) {
            loudest = std::max(loudest, std::fabs(sample));
        }
        return loudest;
    }

    // Blocks as the output asks for them, for `ms` or until the renderer rests.
    static Output run(SoundFontSynth& source, testing::ManualClock& time, uint32_t ms) {
        Output output;
        std::vector<float> left(BlockFrames, 1.0F), right(BlockFrames, 1.0F);
        for (uint32_t elapsed = 0; elapsed < ms && !output.rested; elapsed += BlockMs) {
            output.rested = !source.renderer().process({left.data(), right.data(), BlockFrames});
            output.left.insert(output.left.end(), left.begin(), left.end());
            time.advance(BlockMs);
        }
        return output;
    }

    static std::ptrdiff_t onset(const std::vector<float>& sound) {
        return std::find_if(sound.begin(), sound.end(),
                            [](float sample) { return std::fabs(sample) > Audible; }) -
               sound.begin();
    }

    testing::ManualClock clock;
    std::unique_ptr<SoundFontSynth> synth;
};

// A held note never rests, however quiet; once released it rests only when its tail and the
// reverb's are below hearing and have been for the whole wait, so stopping makes no click.
TEST_F(SynthRestTest, RestsOnlyAfterTheTailsHaveFaded) {
    synth->play(*programChangeMessage(1, 20)); // church organ: sounds as long as it is held
    synth->play(*noteOnMessage(1, 60, 100));
    EXPECT_FALSE(run(*synth, clock, 2 * RestAfterMs).rested);
    synth->play(*noteOnMessage(1, 60, 0));

    const Output tail = run(*synth, clock, 30000);
    ASSERT_TRUE(tail.rested);
    EXPECT_TRUE(synth->renderer().resting());
    const auto lastAudible =
        std::find_if(tail.left.rbegin(), tail.left.rend(),
                     [](float sample) { return std::fabs(sample) >= RestingRenderer::Silence; }) -
        tail.left.rbegin();
    EXPECT_GE(lastAudible,
              static_cast<std::ptrdiff_t>(RestAfterMs / BlockMs * BlockFrames) - BlockFrames);

    // At rest the blocks are silence, for as long as no note comes.
    const Output rest = run(*synth, clock, 1000);
    EXPECT_TRUE(rest.rested);
    EXPECT_TRUE(std::all_of(rest.left.begin(), rest.left.end(), [](float s) { return s == 0; }));
}

// A note below hearing that the sustain pedal holds keeps the synthesizer awake, counted
// from the keys and the pedal rather than heard; lifting the pedal lets it rest.
TEST_F(SynthRestTest, ANoteThePedalHoldsKeepsItAwakeHoweverQuiet) {
    auto quiet = make(1e-5);
    ASSERT_NE(quiet, nullptr);
    quiet->play({{0xB0, 64, 127}, 3});
    quiet->play(*noteOnMessage(1, 60, 100));
    quiet->play(*noteOnMessage(1, 60, 0));
    const Output held = run(*quiet, clock, 3 * RestAfterMs);
    EXPECT_FALSE(held.rested);
    EXPECT_LT(loudest(held), RestingRenderer::Silence) << "the note was heard after all";
    quiet->play({{0xB0, 64, 0}, 3});
    EXPECT_TRUE(run(*quiet, clock, 2 * RestAfterMs).rested);
}

// A drum machine's note-ons often come without note-offs: the kit's sounds end by themselves,
// and the synthesizer rests after them.
TEST_F(SynthRestTest, ADrumNoteWithoutANoteOffLetsItRest) {
    synth->play(*noteOnMessage(10, 38, 120));
    EXPECT_TRUE(run(*synth, clock, 30000).rested);
}

// The first note after a rest starts in the first block, as early in it as on a synthesizer
// that never rested, and rises from the silence without a jump.
TEST_F(SynthRestTest, TheFirstNoteAfterARestIsNeitherLostNorLate) {
    synth->play(*noteOnMessage(1, 72, 110));
    run(*synth, clock, 200);
    synth->play(*noteOnMessage(1, 72, 0));
    ASSERT_TRUE(run(*synth, clock, 30000).rested);
    run(*synth, clock, 1000);

    synth->play(*noteOnMessage(1, 72, 110));
    const Output woken = run(*synth, clock, 50);
    EXPECT_FALSE(woken.rested);
    EXPECT_FALSE(synth->renderer().resting());

    auto fresh = make();
    ASSERT_NE(fresh, nullptr);
    fresh->play(*noteOnMessage(1, 72, 110));
    const Output reference = run(*fresh, clock, 50);

    const std::ptrdiff_t start = onset(woken.left);
    ASSERT_LT(start, BlockFrames) << "the note was lost or came a block late";
    // FluidSynth starts a note at its next 64-frame step.
    EXPECT_LE(start, onset(reference.left) + 64);
    EXPECT_LT(std::fabs(woken.left.front()), Audible);
    float jump = 0;
    for (std::size_t i = 1; i < woken.left.size(); ++i) {
        jump = std::max(jump, std::fabs(woken.left[i] - woken.left[i - 1]));
    }
    float referenceJump = 0;
    for (std::size_t i = 1; i < reference.left.size(); ++i) {
        referenceJump =
            std::max(referenceJump, std::fabs(reference.left[i] - reference.left[i - 1]));
    }
    EXPECT_LE(jump, 1.5F * referenceJump + Audible);
}

} // namespace
} // namespace ladoton
