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
    for (const int channel : {3, 1, 16}) {
        SCOPED_TRACE(channel);
        t.restart();
        t.takeSent();
        t.window().controls.channel = channel;
        const int to = channel - 1;
        receive(0x90, 20, 70); // below the keys: sounds, unlit, unrecorded
        receive(0x80, 20, 0);
        receive(0x80, 61, 0); // never started: nothing
        t->receiveMidi(ShortMessage{{0xB5, 64, 127}, 3});
        t->receiveMidi(ShortMessage{{0xB5, 7, 90}, 3});
        t->receiveMidi(ShortMessage{{0xEF, 0, 80}, 3});
        t->receiveMidi(ShortMessage{{0xD0, 33, 0}, 2});
        t->receiveMidi(ShortMessage{{0xA3, 60, 9}, 3});
        t->receiveMidi(programChange(0xC7, 40));
        EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90 + to, 20, 70), noteOn(0x90 + to, 20, 0),
                                              ShortMessage{{uint8_t(0xB0 + to), 64, 127}, 3},
                                              ShortMessage{{uint8_t(0xB0 + to), 7, 90}, 3},
                                              ShortMessage{{uint8_t(0xE0 + to), 0, 80}, 3},
                                              ShortMessage{{uint8_t(0xD0 + to), 33, 0}, 2},
                                              ShortMessage{{uint8_t(0xA0 + to), 60, 9}, 3},
                                              programChange(0xC0 + to, 40)));
        EXPECT_TRUE(t->melody.empty());
        EXPECT_EQ(t->currentProgram, 41);
        EXPECT_EQ(t->instrument, 41);
        EXPECT_EQ(t.window().sliders.instrument, 41);
    }
}

// Which key a note plays, and what happens when the key is taken already.
TEST_F(KeyboardInput, ANotePlaysTheFirstKeyThatSoundsItOnceAtATime) {
    receive(0x90, 59, 100); // B: U and 8 both sound it; U comes first
    EXPECT_EQ(t->keyStates['U'].pressed, 1);
    EXPECT_EQ(t->keyStates['8'].pressed, 0);
    t->keyStates['U'].needsRepaint = 0;
    receive(0x80, 59, 0);
    EXPECT_EQ(t->keyStates['U'].pressed, 0);
    EXPECT_EQ(t->keyStates['U'].needsRepaint, 1);
    // A second note-on without a note-off: the note starts again, and one note-off ends it.
    receive(0x90, 48, 100);
    receive(0x90, 48, 50);
    receive(0x80, 48, 0);
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 59, 100), noteOn(0x90, 59, 0), noteOn(0x90, 48, 100),
                            noteOn(0x90, 48, 0), noteOn(0x90, 48, 50), noteOn(0x90, 48, 0)));
    // A key a PC key holds is not pressed twice: the note is passed on, and its note-off
    // leaves the PC key held.
    t->pressKey('W');
    receive(0x90, 50, 90);
    receive(0x80, 50, 0);
    EXPECT_EQ(t->keyStates['W'].pressed, 1);
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x90, 50, 60), noteOn(0x90, 50, 90), noteOn(0x90, 50, 0)));
    // A piano key bound to Ctrl is not pressed by a note, or Ctrl would be held.
    t->keyTable[1].keyCode = vk::Control; // the row of Q, C
    receive(0x90, 48, 90);
    EXPECT_EQ(t->keyStates[vk::Control].pressed, 0);
    // A key bound to two rows sounds both notes, and the input's note-off ends both.
    t->keyTable[1].keyCode = 'Q';
    t->keyTable[3].keyCode = 'Q'; // the row of W, D
    receive(0x80, 48, 0);
    t.takeSent();
    receive(0x90, 48, 80);
    receive(0x80, 48, 0);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 80), noteOn(0x90, 50, 80),
                                          noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
}

// A note the input plays during playback is not recorded, nor is its note-off, also when
// playback has ended between the two; and a melody emptied by Z gets no key-ups either.
TEST_F(KeyboardInput, NoKeyUpIsRecordedForAPressThatWasNot) {
    t->pressKey('W');
    t->releaseKey('W');
    t->startPlayback();
    receive(0x90, 48, 100);
    t->stopPlayback();
    receive(0x80, 48, 0);
    EXPECT_EQ(t->melody.size(), 2u);
    receive(0x90, 52, 100);
    t->pressKey(vk::LetterZ);
    EXPECT_TRUE(t->melody.empty());
    receive(0x80, 52, 0);
    EXPECT_TRUE(t->melody.empty());
}

// Whatever ends the input's notes sends one note-off for each, on the channel and to the
// device its note-on went to, even when the channel has changed since, and lifts the pedals
// the input holds down there.
TEST_F(KeyboardInput, EveryWayOfLosingTheSourceOrTheKeysEndsItsNotesAndLiftsItsPedals) {
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
        for (const int note : {0, 48, 100, 127}) { // 48 is Q's; the others have no key
            receive(0x90, note, 100);
        }
        receive(0xB0, 64, 127);
        receive(0xB0, 67, 40);
        receive(0xB0, 66, 127);
        receive(0xB0, 66, 0); // lifted already
        t.window().controls.channel = 7;
        t.takeSent();
        endings[i]();
        std::vector<std::pair<ShortMessage, int>> ends; // on channel 2, with their device
        for (std::size_t m = 0; m < t.backend.sent.size(); ++m) {
            const ShortMessage& sent = t.backend.sent[m];
            if ((sent.bytes[0] == 0x91 || sent.bytes[0] == 0xB1) && sent.bytes[2] == 0) {
                ends.emplace_back(sent, t.backend.sentTo[m]);
            }
        }
        EXPECT_THAT(ends,
                    ElementsAre(std::pair{noteOn(0x91, 0, 0), 0}, std::pair{noteOn(0x91, 48, 0), 0},
                                std::pair{noteOn(0x91, 100, 0), 0},
                                std::pair{noteOn(0x91, 127, 0), 0},
                                std::pair{ShortMessage{{0xB1, 64, 0}, 3}, 0},
                                std::pair{ShortMessage{{0xB1, 67, 0}, 3}, 0}));
        EXPECT_EQ(t->keyStates['Q'].pressed, 0);
        t.takeSent();
        for (const int note : {0, 48, 100, 127}) {
            receive(0x80, note, 0);
        }
        EXPECT_THAT(t.takeSent(), IsEmpty());
    }
}

// A pedal's later values, and its lifting, go where it went down, whatever the channel now.
TEST_F(KeyboardInput, APedalKeepsToTheChannelItWentDownOn) {
    t.window().controls.channel = 2;
    receive(0x90, 48, 100); // the exchange that reads channel 2
    receive(0xB0, 64, 127);
    t.window().controls.channel = 7;
    receive(0x80, 48, 0);
    receive(0xB3, 64, 40);
    receive(0xB0, 64, 0);
    receive(0xB0, 64, 127); // down again: on the channel chosen now
    EXPECT_THAT(t.takeSent(),
                ElementsAre(noteOn(0x91, 48, 100), ShortMessage{{0xB1, 64, 127}, 3},
                            noteOn(0x91, 48, 0), ShortMessage{{0xB1, 64, 40}, 3},
                            ShortMessage{{0xB1, 64, 0}, 3}, ShortMessage{{0xB6, 64, 127}, 3}));
}

// The note ends, and the octave or transposition moves as without it: the next C lights the key
// of the new octave.
TEST_F(KeyboardInput, CtrlWithArrowsWhileANoteIsHeldMovesTheOctaveAndTransposition) {
    receive(0x90, 60, 100); // I, the C of the second octave
    t->pressKey(vk::Control);
    t->pressKey(vk::Up);
    EXPECT_EQ(t->octave, 5);
    EXPECT_EQ(t.window().controls.octave, 5);
    EXPECT_EQ(t->keyStates['I'].pressed, 0);
    receive(0x90, 60, 100);
    EXPECT_EQ(t->keyStates['Q'].pressed, 1);
    t->pressKey(vk::Right);
    EXPECT_EQ(t->transposition, 1);
    EXPECT_EQ(t.window().controls.transposition, 1);
    EXPECT_EQ(t->keyStates['Q'].pressed, 0);
}

// A key the input pressed and a PC key, playback or a click releases ends on the channel the
// input's note went out on; its later note-off does not release the key pressed anew.
TEST_F(KeyboardInput, AKeyReleasedOtherwiseEndsTheInputsNoteWhereItWent) {
    enum class By { PcKey, Click, Playback };
    for (const By by : {By::PcKey, By::Click, By::Playback}) {
        SCOPED_TRACE(static_cast<int>(by));
        t.restart();
        if (by == By::Playback) { // a melody that releases Q after pressing W
            t->melody.append(makeEvent('W', 1, 0));
            t->melody.append(makeEvent('Q', 0, 100));
            t->startPlayback();
        }
        t.window().controls.channel = 2;
        receive(0x90, 48, 100);
        t.window().controls.channel = 7;
        t.takeSent();
        if (by == By::PcKey) {
            t->pressKey('Q');
            t->releaseKey('Q');
        } else if (by == By::Click) {
            t->clickPianoKey(1);
        } else {
            for (int tick = 0; tick < 2; ++tick, t.clock.advance(100)) {
                t->timerTick(StepTimer);
            }
            t->stopPlayback();
        }
        EXPECT_THAT(t.takeSent(), ::testing::Contains(noteOn(0x91, 48, 0)));
        t->pressKey('Q');
        receive(0x80, 48, 0);
        EXPECT_EQ(t->keyStates['Q'].pressed, 1);
        EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x96, 48, 60)));
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
