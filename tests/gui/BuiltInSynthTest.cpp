// The built-in synthesizer rendered offline: FluidSynth writing into memory, no audio device.
#include "AudioAnalysis.h"
#include "midi/MidiMessage.h"
#include "synth/FluidSynthBackend.h"
#include "synth/SoundFontSynth.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace ladoton {
namespace {

using testing::fundamental;
using testing::harmonicProfile;
using testing::noteFrequency;
using testing::profileDistance;
using testing::rms;

constexpr double SampleRate = 48000;

class BuiltInSynthTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!isSoundFont(DefaultSoundFont)) {
            GTEST_SKIP() << "no General MIDI SoundFont at " << DefaultSoundFont;
        }
        const FluidSynthApi* api = fluidSynth();
        ASSERT_NE(api, nullptr) << "FluidSynth cannot be loaded";
        SynthSettings settings;
        settings.sampleRate = SampleRate;
        synth = SoundFontSynth::create(*api, settings);
        ASSERT_NE(synth, nullptr);
        ASSERT_TRUE(synth->loadSoundFont(DefaultSoundFont));
    }

    void play(std::optional<ShortMessage> message) {
        ASSERT_TRUE(message.has_value());
        synth->play(*message);
    }

    // The next `seconds` of sound, left and right mixed.
    std::vector<float> render(double seconds) {
        const auto frames = static_cast<std::size_t>(seconds * SampleRate);
        std::vector<float> left(frames), right(frames), mixed(frames);
        synth->render(left, right);
        for (std::size_t i = 0; i < frames; ++i) {
            mixed[i] = 0.5f * (left[i] + right[i]);
        }
        return mixed;
    }

    std::unique_ptr<SoundFontSynth> synth;
};

std::span<const float> stretch(const std::vector<float>& sound, double from, double to) {
    const auto first = static_cast<std::size_t>(from * SampleRate);
    const auto last = static_cast<std::size_t>(to * SampleRate);
    return std::span<const float>(sound).subspan(first, last - first);
}

TEST_F(BuiltInSynthTest, NoteSixtyNineSoundsAtFourHundredFortyHertz) {
    play(programChangeMessage(1, 1));
    play(noteOnMessage(1, 69, 100));
    const std::vector<float> sound = render(0.5);
    ASSERT_GT(rms(stretch(sound, 0.05, 0.35)), 0.01);
    const auto pitch = fundamental(stretch(sound, 0.05, 0.35), SampleRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(*pitch, 440.0, 4.4);
}

TEST_F(BuiltInSynthTest, AReleaseMakesTheNoteDecay) {
    // The same note once held for the whole second and once released after 0.3 s.
    play(noteOnMessage(1, 69, 100));
    const std::vector<float> held = render(1.3);
    play(noteOnMessage(1, 69, 0));
    render(2.0);

    play(noteOnMessage(1, 69, 100));
    const std::vector<float> beforeRelease = render(0.3);
    play(noteOnMessage(1, 69, 0));
    const std::vector<float> afterRelease = render(1.0);

    const double heldLevel = rms(stretch(held, 1.2, 1.3));
    const double releasedLevel = rms(stretch(afterRelease, 0.9, 1.0));
    ASSERT_GT(heldLevel, 0.0005);
    EXPECT_LT(releasedLevel, heldLevel / 10);
    EXPECT_LT(rms(stretch(afterRelease, 0.9, 1.0)), rms(stretch(beforeRelease, 0.2, 0.3)) / 10);
}

// What a MIDI keyboard sends besides its notes is played: the sustain pedal holds a released
// note until it is lifted, a full bend up raises the note by the default range of two
// semitones, volume 0 silences the channel, and all notes off ends the notes.
TEST_F(BuiltInSynthTest, PlaysThePedalBendAndControllersOfTheInput) {
    auto control = [&](int controller, int value) {
        synth->play({{0xB0, static_cast<uint8_t>(controller), static_cast<uint8_t>(value)}, 3});
    };
    play(noteOnMessage(1, 69, 100));
    const double heldLevel = rms(stretch(render(1.3), 1.2, 1.3));
    play(noteOnMessage(1, 69, 0));
    render(2.0);

    control(64, 127);
    play(noteOnMessage(1, 69, 100));
    render(0.3);
    play(noteOnMessage(1, 69, 0));
    EXPECT_GT(rms(stretch(render(1.0), 0.9, 1.0)), heldLevel / 2) << "the pedal held nothing";
    control(64, 0);
    EXPECT_LT(rms(stretch(render(1.0), 0.9, 1.0)), heldLevel / 10) << "the pedal was not lifted";

    synth->play({{0xE0, 0x7F, 0x7F}, 3});
    play(noteOnMessage(1, 69, 100));
    const auto bent = fundamental(stretch(render(0.4), 0.05, 0.35), SampleRate);
    ASSERT_TRUE(bent.has_value());
    EXPECT_NEAR(*bent, noteFrequency(71), noteFrequency(71) * 0.01);
    synth->play({{0xE0, 0x00, 0x40}, 3});
    control(123, 0);
    EXPECT_LT(rms(stretch(render(1.0), 0.9, 1.0)), heldLevel / 10) << "all notes off ended none";

    control(7, 0);
    play(noteOnMessage(1, 69, 100));
    EXPECT_LT(rms(stretch(render(0.3), 0.1, 0.3)), heldLevel / 100) << "volume 0 is heard";
}

TEST_F(BuiltInSynthTest, ProgramsZeroAndFortyHaveDifferentTimbres) {
    auto timbre = [&](int instrument) {
        play(programChangeMessage(1, instrument));
        play(noteOnMessage(1, 69, 100));
        const std::vector<float> sound = render(0.6);
        play(noteOnMessage(1, 69, 0));
        render(2.0);
        return harmonicProfile(stretch(sound, 0.2, 0.5), SampleRate, 440.0);
    };
    const auto piano = timbre(1);   // program 0
    const auto violin = timbre(41); // program 40
    EXPECT_GT(profileDistance(piano, violin), 0.3) << "the two programs sound alike";
}

// Samples are read only when a program is first chosen: the very first note of a program that
// no channel had before is as loud at its start as the same note played again later.
TEST_F(BuiltInSynthTest, TheFirstNoteOfANewProgramSoundsAtOnce) {
    auto attack = [&] {
        play(noteOnMessage(2, 72, 110));
        const std::vector<float> sound = render(0.1);
        play(noteOnMessage(2, 72, 0));
        render(2.0);
        return rms(stretch(sound, 0.0, 0.05));
    };
    play(programChangeMessage(2, 13)); // marimba: a sharp attack
    const double first = attack();
    const double again = attack();
    EXPECT_GT(again, 0.005) << "the marimba is silent";
    EXPECT_GT(first, again * 0.7) << "the first note waited for its samples";
}

TEST_F(BuiltInSynthTest, ChannelTenPlaysTheDrumKit) {
    play(noteOnMessage(10, 60, 120));
    const std::vector<float> drum = render(1.5);
    play(noteOnMessage(10, 60, 0));
    EXPECT_GT(rms(stretch(drum, 0.0, 0.2)), 0.01) << "channel 10 note 60 is silent";
    // A percussion sound is over by itself, held or not; a melodic note 60 would still sound.
    EXPECT_LT(rms(stretch(drum, 1.4, 1.5)), rms(stretch(drum, 0.0, 0.2)) / 30);

    play(noteOnMessage(1, 60, 120));
    const std::vector<float> piano = render(0.3);
    play(noteOnMessage(1, 60, 0));
    EXPECT_TRUE(fundamental(stretch(piano, 0.05, 0.25), SampleRate).has_value());
    const auto drumPitch = fundamental(stretch(drum, 0.0, 0.2), SampleRate);
    if (drumPitch) {
        EXPECT_GT(std::abs(*drumPitch - noteFrequency(60)), noteFrequency(60) * 0.03)
            << "channel 10 played note 60 as a tuned instrument";
    }
}

// However channel 10 is first reached, it plays a kit: a percussion sound ends by itself.
TEST_F(BuiltInSynthTest, ChannelTenPlaysAKitAfterAProgramChangeOrAKitReadAlongside) {
    auto percussive = [&] {
        play(noteOnMessage(10, 38, 120)); // snare
        const std::vector<float> sound = render(1.5);
        play(noteOnMessage(10, 38, 0));
        render(1.0);
        const double attack = rms(stretch(sound, 0.0, 0.2));
        return attack > 0.01 && rms(stretch(sound, 1.4, 1.5)) < attack / 30;
    };
    EXPECT_FALSE(synth->drumKitReady());
    play(programChangeMessage(10, 1)); // kit 0, read for this program change alone
    EXPECT_TRUE(synth->drumKitReady());
    EXPECT_TRUE(percussive());

    SetUp();
    std::thread reader([&] { synth->prepareDrumKit(); });
    EXPECT_TRUE(percussive()); // played while the kit may still be read: waits for it
    reader.join();
    EXPECT_FALSE(synth->prepareDrumKit()) << "the kit was read twice";
}

} // namespace
} // namespace ladoton
