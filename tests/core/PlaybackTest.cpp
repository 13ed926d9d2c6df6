#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
struct Playback : ::testing::Test {
    TestKeyboard t;

    void SetUp() override {
        t.clock.sleepAdvances = false; // recorded times are exactly what the test sets
        t.takeSent();
    }
    void record(std::initializer_list<std::pair<int, uint32_t>> presses) {
        const uint32_t origin = t.clock.now;
        for (const auto& [key, at] : presses) {
            t.clock.now = origin + at;
            if (key > 0) {
                t->pressKey(key);
            } else {
                t->releaseKey(-key);
            }
        }
        t.takeSent();
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            t->timerTick(StepTimer);
        }
    }
    // The user ticks or clears a check box.
    void check(int& box, bool on) { box = on ? 1 : 0; }
};
} // namespace

TEST_F(Playback, ReplaysWithTimingRelativeToTheFirstEventOneEventPerMessage) {
    record({{'Q', 5000}, {-'Q', 5100}, {'W', 5300}, {-'W', 5400}});
    t->pressKey(vk::Space);
    t.takeSent();
    tick(); // the first event of a pass at once
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    t.clock.advance(99);
    tick(3);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    t.clock.advance(1);
    tick(3);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
    t.clock.advance(300);
    tick(2); // both due: one per message
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 50, 60), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t->playback.playPosition, 0u); // the end rule wrapped it
    tick();                                  // the next pass starts at once
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    EXPECT_EQ(t->keyCodeText, "81");
    EXPECT_EQ(t->melodyText, "C2 D2 ");
    EXPECT_EQ(t->melody.size(), 4u);
}

TEST_F(Playback, AChordComesOutOnConsecutiveMessagesInRecordedOrder) {
    record({{'Q', 0}, {'E', 0}, {'T', 0}, {-'Q', 500}, {-'E', 500}, {-'T', 500}});
    t->startPlayback();
    tick(3);
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 52, 60), noteOn(0x90, 55, 60)));
    EXPECT_EQ(t->heldNotesText, "C2 E2 G2 (до2 ми2 соль2 )");
    EXPECT_EQ(t->intervalText, "4(больш. терция) 3(малая терция) (до-мажор)");
}

TEST_F(Playback, SpaceWithAnEmptyMelodyPlaysNothingAndRecordsNothing) {
    t->pressKey(vk::Space);
    EXPECT_TRUE(t->playback.isPlaying);
    t->pressKey('Q');
    tick(5);
    EXPECT_TRUE(t->melody.empty());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    t->runCommand(command::StopPlayback);
    EXPECT_FALSE(t->playback.isPlaying);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(Playback, AReplayedSpaceOrZActsLikeARealPress) {
    t->melody.append(makeEvent('Q', 1, 0));
    t->melody.append(makeEvent(vk::LetterZ, 1, 0));
    t->melody.append(makeEvent('W', 1, 0));
    t->startPlayback();
    tick();
    tick(); // Z: melody emptied, playback stopped, Q released
    EXPECT_FALSE(t->playback.isPlaying);
    EXPECT_TRUE(t->melody.empty());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    // Advanced after the replay all the same, then wrapped by the end rule.
    EXPECT_EQ(t->playback.playPosition, 0u);
}

TEST_F(Playback, AResetDuringPlaybackLeavesThePositionUntilTheMelodyHoldsEventsAgain) {
    record({{'Q', 0}, {-'Q', 0}, {'W', 1000}});
    t->startPlayback();
    tick(2);
    EXPECT_EQ(t->playback.playPosition, 2u);
    t->runCommand(command::ResetMelody);
    tick(3);
    EXPECT_EQ(t->playback.playPosition, 2u);
    t->pressKey('E');
    tick();
    EXPECT_EQ(t->playback.playPosition, 0u);
}

TEST_F(Playback, KeyCodesOutsideTheTableAreSkippedOnReplay) {
    t->melody.append(makeEvent(-1, 1, 0));
    t->melody.append(makeEvent(300, 1, 0));
    t->melody.append(makeEvent('Q', 2, 0));
    t->melody.append(makeEvent('W', 255, 0));
    t->startPlayback();
    tick(4);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60)));
}

TEST_F(Playback, ATickCounterWrapBetweenTwoEventsIsHarmless) {
    t.clock.now = 0xFFFFFF00u;
    record({{'Q', 0}, {-'Q', 0x150}});
    t->startPlayback();
    t.clock.now = 0x10;
    tick();
    t.clock.advance(0x14F);
    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    t.clock.advance(1);
    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(Playback, RandomInstrumentChangesAtTheEndOfEveryPass) {
    record({{'Q', 0}, {-'Q', 10}});
    t->randomInstrument = 1;
    t->maxInstrument = 1;
    t.window().updateData(false);
    t->startPlayback();
    tick();
    t.clock.advance(10);
    tick();
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2], programChange(0xC0, 0));
    EXPECT_EQ(t->currentProgram, 1);
    EXPECT_EQ(t.window().sliders.instrument, 62); // not moved by the random change
}

TEST_F(Playback, RandomProgramsStayWithinTheMaximum) {
    record({{'M', 0}});
    check(t.window().controls.randomInstrument, true);
    t->startPlayback();
    std::set<int> programs;
    for (int pass = 0; pass < 2000; ++pass) {
        tick();
        programs.insert(t->currentProgram);
    }
    EXPECT_EQ(*programs.begin(), 1);
    EXPECT_EQ(*programs.rbegin(), 127);
    EXPECT_EQ(programs.size(), 127u);
}

// The built-in synthesizer draws from the C library's generator on its own thread while it
// starts; the programs drawn must not depend on that.
TEST_F(Playback, RandomProgramsFollowTheFixedSequenceWhateverElseDrawsRandomNumbers) {
    for (const bool libraryDrawnFrom : {false, true}) {
        TestKeyboard fresh;
        fresh.clock.sleepAdvances = false;
        fresh->pressKey('M');
        fresh.window().controls.randomInstrument = 1;
        fresh->startPlayback();
        std::vector<int> programs;
        for (int pass = 0; pass < 3; ++pass) {
            if (libraryDrawnFrom) {
                std::srand(static_cast<unsigned>(pass));
                for (int i = 0; i < 96000; ++i) {
                    std::rand();
                }
            }
            fresh->timerTick(StepTimer);
            programs.push_back(fresh->currentProgram);
        }
        EXPECT_EQ(fresh->maxInstrument, 127u);
        EXPECT_THAT(programs, ElementsAre(42, 53, 112))
            << "C library drawn from: " << libraryDrawnFrom;
    }
}

TEST_F(Playback, AZeroMaximumSkipsTheRandomChange) {
    record({{'M', 0}});
    t->randomInstrument = 1;
    t->maxInstrument = 0;
    t.window().updateData(false);
    t->startPlayback();
    tick(3);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(t->currentProgram, 62);
}

TEST_F(Playback, MetronomeClicksOnChannelTenWithAnAccentOnEveryFourthClick) {
    check(t.window().controls.metronomeOn, true);
    check(t.window().controls.accentOn, true);
    for (int click = 0; click < 8; ++click) {
        t->timerTick(MetronomeTimer);
    }
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[0], noteOn(0x99, 0, 0)); // before the first click this ends note 0
    EXPECT_EQ(sent[1], noteOn(0x99, 60, 120));
    EXPECT_EQ(sent[2], noteOn(0x99, 60, 0));
    EXPECT_EQ(sent[7], noteOn(0x99, 64, 120)); // the 4th click
    EXPECT_EQ(sent[8], noteOn(0x99, 64, 0));
    EXPECT_EQ(sent[15], noteOn(0x99, 64, 120)); // the 8th
    check(t.window().controls.metronomeOn, false);
    t->timerTick(MetronomeTimer);
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

// The device hears of channel 10 at the first tick that finds it wanted, before the metronome's
// first click; nothing is sent for it.
TEST_F(Playback, ChannelTenIsPreparedOnceTheMetronomeOrTheChannelWantsIt) {
    tick();
    t->timerTick(RepaintTimer);
    EXPECT_THAT(t.backend.prepared, IsEmpty());

    check(t.window().controls.metronomeOn, true);
    t->timerTick(RepaintTimer);
    EXPECT_THAT(t.backend.prepared, ElementsAre(10));
    EXPECT_THAT(t.takeSent(), IsEmpty());

    check(t.window().controls.metronomeOn, false);
    t.window().controls.channel = 10;
    tick();
    EXPECT_THAT(t.backend.prepared, ElementsAre(10, 10));

    t->midiOut.closeDevice(); // a closed device is not told
    tick();
    EXPECT_THAT(t.backend.prepared, ElementsAre(10, 10));
}

TEST_F(Playback, HeldNotesAreShownOnlyWhileTheMelodyHoldsEvents) {
    t->pressKey('Q');
    t->pressKey('E');
    t->pressKey('M');
    tick();
    EXPECT_EQ(t->heldNotesText, "C2 E2 (до2 ми2 )");
    EXPECT_EQ(t->intervalText, "4(больш. терция) ");
    t->pressKey('Z');
    t->pressKey('W');
    t->releaseKey('Z');
    t->melody.clear();
    tick();
    EXPECT_EQ(t->heldNotesText, "C2 E2 (до2 ми2 )"); // kept while the melody is empty
}
