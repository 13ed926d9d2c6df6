#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
struct KeyboardInput : ::testing::Test {
    TestKeyboard t;
    void SetUp() override { t.takeSent(); }
    void receive(int status, int note, int velocity) {
        t->receiveMidi(noteOn(status, note, velocity));
    }
};
} // namespace

// C E G from channel 5 at octave 4: the keys of Q, E and T, lit, named and recorded; out on
// the chosen channel with their own velocities, and replayed later with the amplitude.
TEST_F(KeyboardInput, NotesPlayTheirKeysAndReplayWithTheAmplitude) {
    receive(0x94, 48, 30);
    receive(0x94, 52, 90);
    receive(0x94, 55, 127);
    EXPECT_EQ(t->keyStates['Q'].pressed, 1);
    EXPECT_EQ(t->keyStates['E'].pressed, 1);
    EXPECT_EQ(t->keyStates['T'].pressed, 1);
    t->timerTick(StepTimer);
    EXPECT_EQ(t->heldNotesText, "C2 E2 G2 (до2 ми2 соль2 )");
    EXPECT_EQ(t->intervalText, "4(больш. терция) 3(малая терция) (до-мажор)");
    receive(0x84, 48, 64);
    receive(0x94, 52, 0);
    receive(0x84, 55, 0);
    receive(0x84, 55, 0); // a second note-off: nothing more
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 48, 30), noteOn(0x90, 52, 90), noteOn(0x90, 55, 127),
                            noteOn(0x90, 48, 0), noteOn(0x90, 52, 0), noteOn(0x90, 55, 0)));
    EXPECT_EQ(t->keyStates['Q'].pressed, 0);
    EXPECT_EQ(t->melodyText, "C2 E2 G2 ");
    ASSERT_EQ(t->melody.size(), 6u);
    EXPECT_EQ(t->melody[0].keyCode, 'Q');
    EXPECT_EQ(t->melody[5].keyDown, 0);

    t->startPlayback();
    for (std::size_t tick = 0; tick < 6; ++tick) {
        t->timerTick(StepTimer);
    }
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 52, 60), noteOn(0x90, 55, 60),
                            noteOn(0x90, 48, 0), noteOn(0x90, 52, 0), noteOn(0x90, 55, 0)));
}

TEST_F(KeyboardInput, OtherMessagesArePassedOnToTheChosenChannel) {
    t.window().controls.channel = 3;
    receive(0x90, 20, 70); // below the keys: sounds, unlit, unrecorded
    receive(0x80, 20, 0);
    receive(0x80, 61, 0); // never started: nothing
    t->receiveMidi(ShortMessage{{0xB5, 64, 127}, 3});
    t->receiveMidi(ShortMessage{{0xEF, 0, 80}, 3});
    t->receiveMidi(ShortMessage{{0xD0, 33, 0}, 2});
    t->receiveMidi(programChange(0xC7, 40));
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x92, 20, 70), noteOn(0x92, 20, 0),
                            ShortMessage{{0xB2, 64, 127}, 3}, ShortMessage{{0xE2, 0, 80}, 3},
                            ShortMessage{{0xD2, 33, 0}, 2}, programChange(0xC2, 40)));
    EXPECT_TRUE(t->melody.empty());
    EXPECT_EQ(t->currentProgram, 41);
    EXPECT_EQ(t->instrument, 41);
    EXPECT_EQ(t.window().sliders.instrument, 41);
}

// Whatever ends the input's notes sends one note-off for each, on the channel and to the
// device its note-on went to, even when the channel has changed since.
TEST_F(KeyboardInput, EveryWayOfLosingTheSourceOrTheKeysEndsItsNotes) {
    const auto withCtrl = [&](int key) {
        t->keyStates[vk::Control].pressed = 1;
        t->pressKey(key);
    };
    const std::function<void()> endings[] = {
        [&] { t->releaseInputNotes(); }, // the source went away
        [&] { t->runCommand(DeviceCommandBase + 1); },
        [&] { withCtrl(vk::Up); },
        [&] { withCtrl(vk::Right); },
        [&] { t->pressKey(vk::LetterZ); },
        [&] { t->pressKey(vk::LetterX); },
        [&] { t->close(); }};
    for (std::size_t i = 0; i < std::size(endings); ++i) {
        SCOPED_TRACE(i);
        t.restart();
        t->midiOut.listDevices();
        t.window().controls.channel = 2;
        receive(0x90, 48, 100);  // Q
        receive(0x90, 100, 100); // no key
        t.window().controls.channel = 7;
        t.takeSent();
        endings[i]();
        std::vector<std::pair<ShortMessage, int>> offs; // on channel 2, with their device
        for (std::size_t m = 0; m < t.backend.sent.size(); ++m) {
            if (t.backend.sent[m].bytes[0] == 0x91 && t.backend.sent[m].bytes[2] == 0) {
                offs.emplace_back(t.backend.sent[m], t.backend.sentTo[m]);
            }
        }
        EXPECT_THAT(offs, ElementsAre(std::pair{noteOn(0x91, 48, 0), 0},
                                      std::pair{noteOn(0x91, 100, 0), 0}));
        EXPECT_EQ(t->keyStates['Q'].pressed, 0);
        t.takeSent();
        receive(0x80, 48, 0);
        receive(0x80, 100, 0);
        EXPECT_THAT(t.takeSent(), IsEmpty());
    }
}

TEST_F(KeyboardInput, LosingTheFocusKeepsTheInputsNotes) {
    receive(0x90, 48, 100);
    t->pressKey('W');
    t->keyboardLost();
    EXPECT_EQ(t->keyStates['Q'].pressed, 1);
    EXPECT_EQ(t->keyStates['W'].pressed, 0);
    receive(0x80, 48, 0);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 100), noteOn(0x90, 50, 60),
                                          noteOn(0x90, 50, 0), noteOn(0x90, 48, 0)));
}
