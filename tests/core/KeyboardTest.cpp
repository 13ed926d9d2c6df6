#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;

TEST(Keyboard, StartsWithInitialValues) {
    TestKeyboard t(false);
    EXPECT_EQ(t->amplitude, 60);
    EXPECT_EQ(t->instrument, 0);
    EXPECT_EQ(t->octave, 4);
    EXPECT_EQ(t->transposition, 0);
    EXPECT_EQ(t->channel, 1);
    EXPECT_EQ(t->tempo, 120);
    EXPECT_EQ(t->tempoText, 0u);
    EXPECT_EQ(t->maxInstrument, 127u);
    EXPECT_EQ(t->metronomeOn, 0);
    EXPECT_EQ(t->accentOn, 0);
    EXPECT_EQ(t->randomInstrument, 0);
    EXPECT_EQ(t->repaintCount, 0);
    EXPECT_EQ(t->currentProgram, 62);
}

TEST(Keyboard, ChoosingTheCheckedDeviceReopensItAndSendsTheProgramAgain) {
    TestKeyboard t;
    t.takeSent();
    t->midiOut.listDevices();
    t->runCommand(DeviceCommandBase + 0);
    EXPECT_THAT(t.backend.opened, ElementsAre(0, 0));
    EXPECT_EQ(t.backend.closeCount, 1);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
    t->runCommand(DeviceCommandBase + 1);
    EXPECT_EQ(t->midiOut.deviceId, 1);
    EXPECT_EQ(t.backend.openIndex, 1);
}

TEST(Keyboard, DeviceCommandsBeyondTheListedDevicesAreNotDeviceCommands) {
    TestKeyboard t;
    t->runCommand(DeviceCommandBase + 0); // no menu shown yet: no device counted
    EXPECT_THAT(t.backend.opened, ElementsAre(0));
}

TEST(Keyboard, PianoKeyCommandPlaysWhateverItsNotificationCode) {
    TestKeyboard t;
    t.takeSent();
    t->runCommand((5 << 16) | 1022);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
}

TEST(Keyboard, ReleaseAllKeysEndsEveryHeldNoteInKeyCodeOrder) {
    TestKeyboard t;
    t->pressKey('W');
    t->pressKey('Q');
    t.takeSent();
    t->releaseAllKeys();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t->keyStates['Q'].pressed, 0);
    EXPECT_EQ(t->keyStates['Q'].needsRepaint, 1);
}

TEST(Keyboard, OpeningTheWindowSetsItsTimersAndControlsBetweenTwoWrites) {
    TestKeyboard t;
    EXPECT_EQ(t.window().exchanges, "ww");
    EXPECT_TRUE(t.window().controlsSetUp);
    EXPECT_EQ(t.window().timers,
              (std::map<int, int>{{StepTimer, 10}, {MetronomeTimer, 500}, {RepaintTimer, 100}}));
    EXPECT_EQ(t.window().sliders.amplitude, 60);
    EXPECT_EQ(t.window().sliders.maxInstrument, 127);
    EXPECT_EQ(t.window().controls.octave, 4);
}

// The window's controls may have been edited at any time: every rule reads them first and
// shows its result, in this order.
TEST(Keyboard, APressReadsTheControlsShowsTheCodeThenTheNoteWithTheMelodySelected) {
    TestKeyboard t;
    t.window().exchanges.clear();
    t->pressKey('Q');
    EXPECT_EQ(t.window().exchanges, "rwwfw");
    t->pressKey(vk::F5); // no row: no name, no focus
    EXPECT_EQ(t.window().exchanges, "rwwfw"
                                    "rww");
    t.window().exchanges.clear();
    t->releaseKey('Q');
    t->releaseKey(vk::F5);
    EXPECT_EQ(t.window().exchanges, "rr");
}

TEST(Keyboard, ValuesTypedIntoTheControlsCountFromTheNextPress) {
    TestKeyboard t;
    t.window().controls.octave = 6;
    t.window().controls.amplitude = 90;
    t.window().controls.channel = 2;
    t.takeSent();
    t->pressKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x91, 72, 90)));
    EXPECT_EQ(t->octave, 6);
}

TEST(Keyboard, TimerTicksReadTheControlsAndTheRepaintTickDrawsTheKeys) {
    TestKeyboard t;
    t.window().exchanges.clear();
    t->timerTick(StepTimer);
    t->timerTick(RepaintTimer);
    t->timerTick(MetronomeTimer);
    EXPECT_EQ(t.window().exchanges, "r"
                                    "rr"
                                    "rr"); // nothing recorded: no held notes shown
    EXPECT_EQ(t.window().draws, 1);
    t->pressKey('Q');
    t.window().exchanges.clear();
    t->timerTick(StepTimer);
    EXPECT_EQ(t.window().exchanges, "r"
                                    "rw");
    EXPECT_EQ(t.window().controls.heldNotesText, "C2 (до2 )");
}

TEST(Keyboard, TransposingRepaintsTheWindowAtOnce) {
    TestKeyboard t;
    t->pressKey(vk::Control);
    t.window().repaints = 0;
    t->pressKey(vk::Right);
    EXPECT_EQ(t.window().repaints, 1);
    t->pressKey(vk::Up);
    EXPECT_EQ(t.window().repaints, 1);
    EXPECT_EQ(t->transposition, 1);
    EXPECT_EQ(t->octave, 5);
}

TEST(Keyboard, ShiftCollapsesTheWindow) {
    TestKeyboard t;
    t->pressKey(vk::Shift);
    t->pressKey(vk::Shift);
    EXPECT_EQ(t.window().collapses, 2);
}

TEST(Keyboard, TheSlidersNotificationsTakeTheirPositions) {
    TestKeyboard t;
    t.takeSent();
    t.window().sliders = {100, 41, 5, 0};
    t->amplitudeMoved();
    t->instrumentMoved();
    t->maxInstrumentMoved();
    EXPECT_EQ(t->amplitude, 100);
    EXPECT_EQ(t->instrument, 41);
    EXPECT_EQ(t->currentProgram, 41);
    EXPECT_EQ(t->maxInstrument, 5u);
    EXPECT_EQ(t.window().controls.amplitude, 100);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 40)));
    t.window().sliders.amplitude = 0; // a slider without a position leaves the amplitude
    t->amplitudeMoved();
    EXPECT_EQ(t->amplitude, 100);
}

TEST(Keyboard, TheTempoSetsTheMetronomePeriodAndTheArrowsStepTheChannel) {
    TestKeyboard t;
    t.window().controls.tempo = 200;
    t->tempoMoved();
    EXPECT_EQ(t->tempoText, 200u);
    EXPECT_EQ(t.window().timers[MetronomeTimer], 300);
    t.window().controls.channel = 16;
    t->channelStep(1);
    EXPECT_EQ(t->channel, 16);
    t->channelStep(0);
    EXPECT_EQ(t.window().controls.channel, 15);
}

TEST(Keyboard, MenuCommandsReachTheWindowsBoxesAndEndItsRun) {
    TestKeyboard t;
    t->runCommand(command::KeyHelp);
    t->runCommand(command::About);
    t->runCommand(command::Exit);
    EXPECT_EQ(t.window().keyHelpCount, 1);
    EXPECT_EQ(t.window().aboutCount, 1);
    EXPECT_THAT(t.window().runsEnded, ElementsAre(true));
    t->close();
    EXPECT_THAT(t.window().runsEnded, ElementsAre(true, false));
}

TEST(Keyboard, LosingTheKeyboardEndsHeldNotesAndMarksEveryKey) {
    TestKeyboard t;
    t->pressKey('Q');
    for (KeyState& key : t->keyStates) {
        key.needsRepaint = 0;
    }
    t.takeSent();
    t->keyboardLost();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
    for (const KeyState& key : t->keyStates) {
        EXPECT_EQ(key.needsRepaint, 1);
    }
}
