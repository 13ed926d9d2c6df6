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

// C E G is told once it has settled: the timers tick on until then and rest afterwards. Its
// release is not told.
TEST_F(KeyboardSpeech, TellsTheSettledChord) {
    for (const int key : {'Q', 'E', 'T'}) {
        t->pressKey(key);
    }
    t->timerTick(StepTimer);
    painted();
    EXPECT_FALSE(t->restsUntilNextEvent());
    run(200);
    EXPECT_THAT(heard(), ElementsAre("до2 ми2 соль2, до-мажор"));
    EXPECT_TRUE(t->restsUntilNextEvent());
    for (const int key : {'Q', 'E', 'T'}) {
        t->releaseKey(key);
    }
    run(500);
    EXPECT_THAT(heard(), IsEmpty());
}

// The instrument, octave and transposition that the keys change are told by their new values,
// a held Up by the last one.
TEST_F(KeyboardSpeech, TellsTheControlsTheKeysChange) {
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
}

// Melody playback is not told, unless asked for, nor the keys it leaves held when it stops;
// what the user plays after it is. The random instrument of a new pass is.
TEST_F(KeyboardSpeech, PlaybackIsQuietUnlessAskedButItsRandomInstrumentIsTold) {
    t->pressKey('Q');
    run(400);
    t->releaseKey('Q');
    run(200);
    heard();
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
    t->releaseKey('W');
    t.window().controls.randomInstrument = 0;
    t->speakDuringPlayback = true;
    t->startPlayback();
    run(300);
    EXPECT_THAT(heard(), ElementsAre("до2"));
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
