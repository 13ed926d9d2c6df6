#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
struct Event {
    int keyCode;
    int keyDown;
    uint32_t time;
    bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* out) {
    *out << "(" << e.keyCode << ", " << e.keyDown << ", " << e.time << ")";
}
std::vector<Event> recorded(TestKeyboard& t) {
    std::vector<Event> events;
    for (const MelodyEvent& e : t->melody.events()) {
        events.push_back({e.keyCode, e.keyDown, e.time});
    }
    return events;
}

struct KeyPlaying : ::testing::Test {
    TestKeyboard t;
    void SetUp() override { t.takeSent(); }
};
} // namespace

TEST_F(KeyPlaying, QPlaysC2AndRecordsItsPressAndRelease) {
    const uint32_t start = t.clock.now;
    t->pressKey('Q');
    t.clock.advance(300);
    t->releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    // The press is recorded before its note sounds, the release after.
    EXPECT_THAT(recorded(t), ElementsAre(Event{81, 1, start}, Event{81, 0, start + 301 + 1}));
    EXPECT_EQ(t->melodyText, "C2 ");
    EXPECT_EQ(t->keyCodeText, "81");
    EXPECT_EQ(t.window().controls.melodyText, "C2 ");
    EXPECT_EQ(t.window().selectedMelodyText, "C2 ");
}

TEST_F(KeyPlaying, AutoRepeatGivesOneNoteOneNameOneEvent) {
    for (int i = 0; i < 10; ++i) {
        t->pressKey('Q');
    }
    t->releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(t->melodyText, "C2 ");
    EXPECT_EQ(recorded(t).size(), 2u);
    EXPECT_EQ(t->keyCodeText, "81");
}

TEST_F(KeyPlaying, EmptyNoteKeyRecordsAPressAndSendsNothing) {
    t->pressKey('M');
    t->releaseKey('M');
    EXPECT_THAT(t.takeSent(), IsEmpty()); // its release asks for EmptyNote, which sends no byte
    EXPECT_EQ(t->melodyText, "? ");
    ASSERT_EQ(recorded(t).size(), 1u);
    EXPECT_EQ(recorded(t)[0].keyDown, 1);
    EXPECT_EQ(t.clock.sleptMs, 0u);
}

TEST_F(KeyPlaying, UnboundKeyShowsItsCodeAndSetsTheInstrumentSliderAgain) {
    t->pressKey(vk::F5);
    t->releaseKey(vk::F5);
    EXPECT_EQ(t->keyCodeText, "116");
    EXPECT_EQ(t.window().sliders.instrument, 62);
    EXPECT_EQ(t->instrument, 62);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_THAT(recorded(t), IsEmpty());
    EXPECT_EQ(t->melodyText, "");
}

TEST_F(KeyPlaying, KeyCodesOutsideTheTableAreIgnored) {
    t->pressKey(256);
    t->pressKey(-1);
    t->releaseKey(300);
    EXPECT_EQ(t->keyCodeText, "");
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(KeyPlaying, NotesAboveTheMidiRangeAreNamedQuestionMarkAndNotSent) {
    t->octave = 9;
    t.window().updateData(false);
    t->pressKey(vk::Numpad0 + 6);
    EXPECT_EQ(t->keyStates[102].note, 143);
    EXPECT_EQ(t->melodyText, "? ");
    t->releaseKey(vk::Numpad0 + 6);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, UpAndDownStepTheProgramWithinOneTo128) {
    t->currentProgram = 127;
    t->pressKey(vk::Up);
    t->pressKey(vk::Up);
    EXPECT_EQ(t->currentProgram, 128);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 127), programChange(0xC0, 127)));
    EXPECT_EQ(t.window().sliders.instrument, 128);
    EXPECT_EQ(t->instrument, 128);
    t->currentProgram = 1;
    t->pressKey(vk::Down);
    EXPECT_EQ(t->currentProgram, 1);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
}

TEST_F(KeyPlaying, CtrlWithArrowsChangesOctaveWithinOneToNineAndTranspositionWithoutBound) {
    t->pressKey(vk::Control);
    t->octave = 9;
    t.window().updateData(false);
    t->pressKey(vk::Up);
    EXPECT_EQ(t->octave, 9);
    t->pressKey(vk::Down);
    EXPECT_EQ(t->octave, 8);
    for (int i = 0; i < 7; ++i) {
        t->pressKey(vk::Right);
    }
    EXPECT_EQ(t->transposition, 7);
    EXPECT_EQ(t->instrument, 62);         // the program, not the slider
    EXPECT_THAT(t.takeSent(), IsEmpty()); // and nothing is sent
    t->releaseKey(vk::Control);
    t->pressKey('Q');
    EXPECT_EQ(t->keyStates['Q'].note, 7 + 12 * 8);
}

TEST_F(KeyPlaying, CtrlQPlaysLikeQAndCtrlIsRecordedNowhere) {
    t->pressKey(vk::Control);
    t->pressKey('Q');
    t->releaseKey('Q');
    t->releaseKey(vk::Control);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, ReleaseEndsTheNoteSoundedAtThePressWhateverTheOctaveOrChannelNow) {
    t->pressKey('E');
    t->pressKey(vk::Control);
    t->pressKey(vk::Up);
    t->releaseKey(vk::Up);
    t->releaseKey(vk::Control);
    t.window().controls.channel = 5;
    t->releaseKey('E');
    EXPECT_EQ(t->octave, 5);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 52, 60), noteOn(0x90, 52, 0)));
}

// Playback goes on while the device menu is open: a key it presses then and holds when another
// device is chosen ends at the device its note went to.
TEST_F(KeyPlaying, ChoosingADeviceEndsEveryNoteAtTheDeviceItWentTo) {
    t->midiOut.listDevices();
    t->melody.append(makeEvent('W', 1, 0));
    t->melody.append(makeEvent('Q', 1, 100));
    t->melody.append(makeEvent('Q', 0, 1000));
    t->startPlayback();
    t->timerTick(StepTimer);
    t->keyboardLost(); // the menu opens
    t.clock.advance(100);
    t->timerTick(StepTimer);
    t->runCommand(DeviceCommandBase + 1);
    t.clock.advance(1000);
    t->timerTick(StepTimer);
    std::vector<int> devicesOfQ;
    for (std::size_t m = 0; m < t.backend.sent.size(); ++m) {
        if (t.backend.sent[m].bytes[0] == 0x90 && t.backend.sent[m].bytes[1] == 48) {
            devicesOfQ.push_back(t.backend.sentTo[m]);
        }
    }
    EXPECT_THAT(devicesOfQ, ElementsAre(0, 0)); // on and off, both at device 0
}

TEST_F(KeyPlaying, XSilences255NotesAndLeavesKeyStatesAlone) {
    t->pressKey('Q');
    t.takeSent();
    t->pressKey('X');
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 128u); // notes 128..254 put nothing on the wire
    for (int note = 0; note < 128; ++note) {
        EXPECT_EQ(sent[static_cast<size_t>(note)], noteOn(0x90, note, 0));
    }
    EXPECT_EQ(t->keyStates['Q'].pressed, 1);
    t->releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(KeyPlaying, MelodyTextOverItsLimitStartsAfresh) {
    t->melodyText = std::string(255, 'a');
    t.window().updateData(false);
    t->octave = 5;
    t.window().updateData(false);
    t->pressKey('Q');
    EXPECT_EQ(t->melodyText, "");
    t->releaseKey('Q');
    t->pressKey('Q');
    EXPECT_EQ(t->melodyText, "C3 ");
}

TEST_F(KeyPlaying, AClickIsAPressAndA200msLaterRelease) {
    const uint32_t start = t.clock.now;
    t->runCommand(1028); // "B": the U row comes before the 8 row
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    const auto events = recorded(t);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{'U', 1, start}));
    EXPECT_EQ(events[1].keyCode, 'U');
    EXPECT_GE(events[1].time - events[0].time, 200u);
    for (const KeyState& key : t->keyStates) {
        EXPECT_EQ(key.needsRepaint, 1);
    }
}

TEST_F(KeyPlaying, ClickingAKeyThatIsHeldEndsItsNote) {
    t->pressKey('Q');
    t->runCommand(1022);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(t->keyStates['Q'].pressed, 0);
}

TEST_F(KeyPlaying, DuringPlaybackKeysSoundButAreNotRecorded) {
    t->pressKey('Q');
    t->releaseKey('Q');
    t->pressKey(vk::Space);
    t.takeSent();
    t->pressKey('W');
    t->releaseKey('W');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 50, 60), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t->melodyText, "C2 ");
    EXPECT_EQ(t->keyCodeText, "87");
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, ResetWhilePlayingStopsEmptiesAndSilences) {
    t->pressKey('Q');
    t->releaseKey('Q');
    t->pressKey(vk::Space);
    t->pressKey('W'); // held while playing
    t.takeSent();
    t->pressKey('Z');
    EXPECT_FALSE(t->playback.isPlaying);
    EXPECT_TRUE(t->melody.empty());
    EXPECT_EQ(t->melodyText, "");
    EXPECT_EQ(t.window().controls.melodyText, "");
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 50, 0)));
    // Z itself is no table key, so the next bound key starts the new melody.
    t->pressKey('E');
    EXPECT_EQ(recorded(t).at(0).keyCode, 'E');
}
