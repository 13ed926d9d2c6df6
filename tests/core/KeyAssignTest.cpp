#include "TestKeyboard.h"
#include "keys/VirtualKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int ButtonC = 1022;
constexpr int ButtonB = 1028;
constexpr int RowC = 1;
constexpr int RowU = 12;

class KeyAssign : public ::testing::Test {
  protected:
    void SetUp() override { t.takeSent(); }

    void ctrlClick(int buttonId, int answer) {
        t.window().keyAnswers.push_back(answer);
        ctrlClick(buttonId);
    }
    void ctrlClick(int buttonId) {
        t->pressKey(vk::Control);
        t->runCommand(buttonId);
        t->releaseKey(vk::Control);
    }
    std::vector<ShortMessage> play(int keyCode) {
        t.takeSent();
        t->pressKey(keyCode);
        t->releaseKey(keyCode);
        return t.takeSent();
    }

    TestKeyboard t;
};

} // namespace

TEST_F(KeyAssign, CtrlClickBindsTheNextKeyToThePianoKeyWithoutPlaying) {
    ctrlClick(ButtonC, 'W');
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(t->keyTable[RowC].keyCode, 'W');
    EXPECT_STREQ(t->keyTable[RowC].keyName, "ПР");
    EXPECT_EQ(t->keyTable[RowC].noteOffset, 0);

    // W now carries both the C row and its own D row.
    EXPECT_THAT(play('W'), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                       noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_THAT(play('Q'), IsEmpty());
}

TEST_F(KeyAssign, AKeyOfTwoRowsEndsBothNotesAndRecordsOneRelease) {
    ctrlClick(ButtonC, 'W');
    t->melody.clear();
    t->melodyText.clear();
    t.window().updateData(false);

    EXPECT_THAT(play('W'), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                       noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t->melodyText, "C2 D2 ");
    std::vector<int> keyDowns;
    for (const MelodyEvent& event : t->melody.events()) {
        EXPECT_EQ(event.keyCode, 'W');
        keyDowns.push_back(event.keyDown);
    }
    EXPECT_THAT(keyDowns, ElementsAre(1, 1, 0));

    // A click on the piano key plays the same two rows through W.
    t->runCommand(ButtonC);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                          noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
}

TEST_F(KeyAssign, StartingPlaybackEndsEveryNoteOfAHeldKeyBeforeItPlays) {
    ctrlClick(ButtonC, 'W');
    t->pressKey('W');
    t.takeSent();
    t->pressKey(vk::Space);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t->keyStates['W'].pressed, 0);
    t->releaseKey(vk::Space);
    t->releaseKey('W');
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(KeyAssign, SecondRowOfAButtonIsNotTheOneReassigned) {
    ctrlClick(ButtonB, 'K');
    EXPECT_EQ(t->keyTable[RowU].keyCode, 'K');
    EXPECT_EQ(t->keyTable[RowU + 1].keyCode, '8');
    EXPECT_THAT(play('8'), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    EXPECT_THAT(play('K'), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    EXPECT_THAT(play('U'), IsEmpty());
}

TEST_F(KeyAssign, ClosingWithoutAKeyLeavesOnlyTheClick) {
    ctrlClick(ButtonC); // the dialog closed with no key pressed
    EXPECT_EQ(t->keyTable[RowC].keyCode, 0);
    EXPECT_STREQ(t->keyTable[RowC].keyName, "ПР");
    EXPECT_THAT(play('Q'), IsEmpty());

    t->runCommand(ButtonC);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
}

TEST_F(KeyAssign, CodesFrom128OnAreKeptWhole) {
    ctrlClick(ButtonC, vk::Oem4);
    EXPECT_EQ(t->keyTable[RowC].keyCode, 219);
    // 219 also has its own row, the F above.
    EXPECT_THAT(play(vk::Oem4), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 65, 60),
                                            noteOn(0x90, 48, 0), noteOn(0x90, 65, 0)));
}

TEST_F(KeyAssign, ReassigningAgainReplacesTheCodeOfTheSameRow) {
    ctrlClick(ButtonC, 'W');
    ctrlClick(ButtonC, 'K');
    EXPECT_EQ(t->keyTable[RowC].keyCode, 'K');
    EXPECT_STREQ(t->keyTable[RowC].keyName, "ПР");
    EXPECT_EQ(t->keyTable[3].keyCode, 'W');
}
