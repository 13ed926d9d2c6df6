#include "TestDialog.h"
#include "app/Controls.h"
#include "keys/VirtualKeys.h"

#include <QCheckBox>
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
    TestDialog t;

    void SetUp() override {
        t.clock.sleepAdvances = false; // recorded times are exactly what the test sets
        t.takeSent();
    }
    void record(std::initializer_list<std::pair<int, uint32_t>> presses) {
        const uint32_t origin = t.clock.now;
        for (const auto& [key, at] : presses) {
            t.clock.now = origin + at;
            if (key > 0) {
                t.keyboard().pressKey(key);
            } else {
                t.keyboard().releaseKey(-key);
            }
        }
        t.takeSent();
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            t->OnTimer(StepTimer);
        }
    }
    void check(int box, bool on) { qobject_cast<QCheckBox*>(t->control(box))->setChecked(on); }
};
} // namespace

TEST_F(Playback, ReplaysWithTimingRelativeToTheFirstEventOneEventPerMessage) {
    record({{'Q', 5000}, {-'Q', 5100}, {'W', 5300}, {-'W', 5400}});
    t.keyboard().pressKey(vk::Space);
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
    EXPECT_EQ(t.keyboard().playback.playPosition, 0u); // the end rule wrapped it
    tick();                                            // the next pass starts at once
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    EXPECT_EQ(t.keyboard().keyCodeText, "81");
    EXPECT_EQ(t.keyboard().melodyText, "C2 D2 ");
    EXPECT_EQ(t.keyboard().melody.size(), 4u);
}

TEST_F(Playback, AChordComesOutOnConsecutiveMessagesInRecordedOrder) {
    record({{'Q', 0}, {'E', 0}, {'T', 0}, {-'Q', 500}, {-'E', 500}, {-'T', 500}});
    t.keyboard().startPlayback();
    tick(3);
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 52, 60), noteOn(0x90, 55, 60)));
    EXPECT_EQ(t.keyboard().heldNotesText, "C2 E2 G2 (до2 ми2 соль2 )");
    EXPECT_EQ(t.keyboard().intervalText, "4(больш. терция) 3(малая терция) (до-мажор)");
}

TEST_F(Playback, SpaceWithAnEmptyMelodyPlaysNothingAndRecordsNothing) {
    t.keyboard().pressKey(vk::Space);
    EXPECT_TRUE(t.keyboard().playback.isPlaying);
    t.keyboard().pressKey('Q');
    tick(5);
    EXPECT_TRUE(t.keyboard().melody.empty());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    t->OnCommand(command::StopPlayback);
    EXPECT_FALSE(t.keyboard().playback.isPlaying);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(Playback, AReplayedSpaceOrZActsLikeARealPress) {
    t.keyboard().melody.append(makeEvent('Q', 1, 0));
    t.keyboard().melody.append(makeEvent(vk::LetterZ, 1, 0));
    t.keyboard().melody.append(makeEvent('W', 1, 0));
    t.keyboard().startPlayback();
    tick();
    tick(); // Z: melody emptied, playback stopped, Q released
    EXPECT_FALSE(t.keyboard().playback.isPlaying);
    EXPECT_TRUE(t.keyboard().melody.empty());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    // Advanced after the replay all the same, then wrapped by the end rule.
    EXPECT_EQ(t.keyboard().playback.playPosition, 0u);
}

TEST_F(Playback, AResetDuringPlaybackLeavesThePositionUntilTheMelodyHoldsEventsAgain) {
    record({{'Q', 0}, {-'Q', 0}, {'W', 1000}});
    t.keyboard().startPlayback();
    tick(2);
    EXPECT_EQ(t.keyboard().playback.playPosition, 2u);
    t->OnCommand(command::ResetMelody);
    tick(3);
    EXPECT_EQ(t.keyboard().playback.playPosition, 2u);
    t.keyboard().pressKey('E');
    tick();
    EXPECT_EQ(t.keyboard().playback.playPosition, 0u);
}

TEST_F(Playback, KeyCodesOutsideTheTableAreSkippedOnReplay) {
    t.keyboard().melody.append(makeEvent(-1, 1, 0));
    t.keyboard().melody.append(makeEvent(300, 1, 0));
    t.keyboard().melody.append(makeEvent('Q', 2, 0));
    t.keyboard().melody.append(makeEvent('W', 255, 0));
    t.keyboard().startPlayback();
    tick(4);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60)));
}

TEST_F(Playback, ATickCounterWrapBetweenTwoEventsIsHarmless) {
    t.clock.now = 0xFFFFFF00u;
    record({{'Q', 0}, {-'Q', 0x150}});
    t.keyboard().startPlayback();
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
    t.keyboard().randomInstrument = 1;
    t.keyboard().maxInstrument = 1;
    t->UpdateData(false);
    t.keyboard().startPlayback();
    tick();
    t.clock.advance(10);
    tick();
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2], programChange(0xC0, 0));
    EXPECT_EQ(t.keyboard().currentProgram, 1);
    EXPECT_EQ(t->instrumentSlider->value(), 62); // not moved by the random change
}

TEST_F(Playback, RandomProgramsStayWithinTheMaximum) {
    record({{'M', 0}});
    check(1079, true);
    t.keyboard().startPlayback();
    std::set<int> programs;
    for (int pass = 0; pass < 2000; ++pass) {
        tick();
        programs.insert(t.keyboard().currentProgram);
    }
    EXPECT_EQ(*programs.begin(), 1);
    EXPECT_EQ(*programs.rbegin(), 127);
    EXPECT_EQ(programs.size(), 127u);
}

// The built-in synthesizer draws from the C library's generator on its own thread while it
// starts; the programs drawn must not depend on that.
TEST_F(Playback, RandomProgramsFollowTheFixedSequenceWhateverElseDrawsRandomNumbers) {
    for (const bool libraryDrawnFrom : {false, true}) {
        TestDialog fresh;
        fresh.clock.sleepAdvances = false;
        fresh.keyboard().pressKey('M');
        qobject_cast<QCheckBox*>(fresh->control(1079))->setChecked(true);
        fresh.keyboard().startPlayback();
        std::vector<int> programs;
        for (int pass = 0; pass < 3; ++pass) {
            if (libraryDrawnFrom) {
                std::srand(static_cast<unsigned>(pass));
                for (int i = 0; i < 96000; ++i) {
                    std::rand();
                }
            }
            fresh->OnTimer(StepTimer);
            programs.push_back(fresh.keyboard().currentProgram);
        }
        EXPECT_EQ(fresh.keyboard().maxInstrument, 127u);
        EXPECT_THAT(programs, ElementsAre(42, 53, 112))
            << "C library drawn from: " << libraryDrawnFrom;
    }
}

TEST_F(Playback, AZeroMaximumSkipsTheRandomChange) {
    record({{'M', 0}});
    t.keyboard().randomInstrument = 1;
    t.keyboard().maxInstrument = 0;
    t->UpdateData(false);
    t.keyboard().startPlayback();
    tick(3);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(t.keyboard().currentProgram, 62);
}

TEST_F(Playback, MetronomeClicksOnChannelTenWithAnAccentOnEveryFourthClick) {
    check(1083, true);
    check(1080, true);
    for (int click = 0; click < 8; ++click) {
        t->OnTimer(MetronomeTimer);
    }
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[0], noteOn(0x99, 0, 0)); // before the first click this ends note 0
    EXPECT_EQ(sent[1], noteOn(0x99, 60, 120));
    EXPECT_EQ(sent[2], noteOn(0x99, 60, 0));
    EXPECT_EQ(sent[7], noteOn(0x99, 64, 120)); // the 4th click
    EXPECT_EQ(sent[8], noteOn(0x99, 64, 0));
    EXPECT_EQ(sent[15], noteOn(0x99, 64, 120)); // the 8th
    check(1083, false);
    t->OnTimer(MetronomeTimer);
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(Playback, HeldNotesAreShownOnlyWhileTheMelodyHoldsEvents) {
    t.keyboard().pressKey('Q');
    t.keyboard().pressKey('E');
    t.keyboard().pressKey('M');
    tick();
    EXPECT_EQ(t.keyboard().heldNotesText, "C2 E2 (до2 ми2 )");
    EXPECT_EQ(t.keyboard().intervalText, "4(больш. терция) ");
    t.keyboard().pressKey('Z');
    t.keyboard().pressKey('W');
    t.keyboard().releaseKey('Z');
    t.keyboard().melody.clear();
    tick();
    EXPECT_EQ(t.keyboard().heldNotesText, "C2 E2 (до2 ми2 )"); // kept while the melody is empty
}
