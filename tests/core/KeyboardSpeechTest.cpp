#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
struct KeyboardSpeech : ::testing::Test {
    TestKeyboard t;

    void SetUp() override {
        t.clock.sleepAdvances = false;
        t.window().screenReader = true;
    }
    // The step timer's ticks over `ms` milliseconds.
    void run(uint32_t ms) {
        for (uint32_t step = 0; step < ms; step += 10) {
            t.clock.advance(10);
            t->timerTick(StepTimer);
        }
    }
    // The window has painted every key that waited for it.
    void painted() {
        for (KeyState& key : t->keyStates) {
            key.needsRepaint = 0;
        }
    }
    std::vector<std::string> heard() {
        std::vector<std::string> said;
        said.swap(t.window().announced);
        return said;
    }
};
} // namespace

// C E G struck from the PC keys is told once, when it has settled; the timers keep ticking
// until then and rest afterwards. Its release is not told.
TEST_F(KeyboardSpeech, TellsTheSettledChordOfThePcKeys) {
    t->pressKey('Q');
    run(30);
    t->pressKey('E');
    run(30);
    t->pressKey('T');
    t->timerTick(StepTimer);
    EXPECT_FALSE(t->restsUntilNextEvent());
    run(100);
    EXPECT_THAT(heard(), IsEmpty());
    run(60);
    EXPECT_THAT(heard(), ElementsAre("до2 ми2 соль2, до-мажор"));
    painted();
    EXPECT_TRUE(t->restsUntilNextEvent());
    for (const int key : {'Q', 'E', 'T'}) {
        t->releaseKey(key);
    }
    run(500);
    EXPECT_THAT(heard(), IsEmpty());
}

// The MIDI input's notes are told as the keys' are; so are the instrument, octave and
// transposition that the keys change, by their new values, a held Up by the last one.
TEST_F(KeyboardSpeech, TellsInputNotesAndTheControlsTheKeysChange) {
    t->receiveMidi(noteOn(0x90, 57, 100));
    t->receiveMidi(noteOn(0x90, 60, 100));
    t->receiveMidi(noteOn(0x90, 64, 100));
    run(200);
    EXPECT_THAT(heard(), ElementsAre("ля2 до3 ми3, ля-минор"));
    t->receiveMidi(noteOn(0x80, 57, 0));
    t->receiveMidi(noteOn(0x80, 60, 0));
    t->receiveMidi(noteOn(0x80, 64, 0));

    for (int repeat = 0; repeat < 5; ++repeat) {
        t->pressKey(vk::Up);
        run(30);
    }
    t->releaseKey(vk::Up);
    run(200);
    EXPECT_THAT(heard(), ElementsAre("Инструмент 67"));

    t->pressKey(vk::Control);
    t->pressKey(vk::Up);
    t->pressKey(vk::Right);
    t->releaseKey(vk::Right);
    t->releaseKey(vk::Up);
    t->releaseKey(vk::Control);
    run(200);
    EXPECT_THAT(heard(), ElementsAre("Октава 5, Сдвиг 1"));
    t->pressKey(vk::Down); // at program 67: 66
    t->releaseKey(vk::Down);
    run(200);
    EXPECT_THAT(heard(), ElementsAre("Инструмент 66"));
}

// Melody playback is not told, nor the keys it leaves held when it stops; what the user
// plays after it is. The random instrument of a new pass is.
TEST_F(KeyboardSpeech, PlaybackIsQuietButItsRandomInstrumentIsTold) {
    t->pressKey('Q');
    run(400);
    t->releaseKey('Q');
    run(200);
    heard();
    t->randomInstrument = 1;
    t.window().controls.randomInstrument = 1;
    t->startPlayback();
    run(1000);
    const std::vector<std::string> during = heard();
    ASSERT_FALSE(during.empty());
    for (const std::string& said : during) {
        EXPECT_THAT(said, ::testing::StartsWith("Инструмент ")) << said;
    }
    t->stopPlayback();
    t->pressKey('W');
    run(200);
    EXPECT_THAT(heard(), ElementsAre("ре2"));
}

// With the option, playback's chords are told like the user's.
TEST_F(KeyboardSpeech, PlaybackIsToldWhenAskedFor) {
    t->speakDuringPlayback = true;
    t->pressKey('Q');
    t->pressKey('E');
    run(300);
    t->releaseKey('Q');
    t->releaseKey('E');
    run(500);
    heard();
    t->startPlayback();
    run(200);
    EXPECT_THAT(heard(), ElementsAre("до2 ми2, большая терция"));
}

// Without a screen reader nothing is prepared, and the timers rest as they always did.
TEST_F(KeyboardSpeech, NothingWithoutAScreenReader) {
    t.window().screenReader = false;
    t->pressKey('Q');
    t->pressKey(vk::Up);
    t->timerTick(StepTimer);
    painted();
    EXPECT_TRUE(t->restsUntilNextEvent());
    EXPECT_THAT(heard(), IsEmpty());
    t.window().screenReader = true;
    run(500);
    EXPECT_THAT(heard(), ElementsAre("до2"));
}
