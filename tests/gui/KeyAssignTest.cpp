#include "TestDialog.h"
#include "keys/KeyAssignDialog.h"
#include "keys/VirtualKeys.h"
#include "platform/QtPrompts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
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
        t.prompts.keyAnswers.push_back(answer);
        ctrlClick(buttonId);
    }
    void ctrlClick(int buttonId) {
        t.keyboard().pressKey(vk::Control);
        t->OnCommand(buttonId);
        t.keyboard().releaseKey(vk::Control);
    }
    std::vector<ShortMessage> play(int keyCode) {
        t.takeSent();
        t.keyboard().pressKey(keyCode);
        t.keyboard().releaseKey(keyCode);
        return t.takeSent();
    }

    TestDialog t;
};

} // namespace

TEST_F(KeyAssign, CtrlClickBindsTheNextKeyToThePianoKeyWithoutPlaying) {
    ctrlClick(ButtonC, 'W');
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(t.keyboard().keyTable[RowC].keyCode, 'W');
    EXPECT_STREQ(t.keyboard().keyTable[RowC].keyName, "ПР");
    EXPECT_EQ(t.keyboard().keyTable[RowC].noteOffset, 0);

    // W now carries both the C row and its own D row.
    EXPECT_THAT(play('W'), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                       noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_THAT(play('Q'), IsEmpty());
}

TEST_F(KeyAssign, AKeyOfTwoRowsEndsBothNotesAndRecordsOneRelease) {
    ctrlClick(ButtonC, 'W');
    t.keyboard().melody.clear();
    t.keyboard().melodyText.clear();
    t->UpdateData(false);

    EXPECT_THAT(play('W'), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                       noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t.keyboard().melodyText, "C2 D2 ");
    std::vector<int> keyDowns;
    for (const MelodyEvent& event : t.keyboard().melody.events()) {
        EXPECT_EQ(event.keyCode, 'W');
        keyDowns.push_back(event.keyDown);
    }
    EXPECT_THAT(keyDowns, ElementsAre(1, 1, 0));

    // A click on the piano key plays the same two rows through W.
    t->OnCommand(ButtonC);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 50, 60),
                                          noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
}

TEST_F(KeyAssign, StartingPlaybackEndsEveryNoteOfAHeldKeyBeforeItPlays) {
    ctrlClick(ButtonC, 'W');
    t.keyboard().pressKey('W');
    t.takeSent();
    t.keyboard().pressKey(vk::Space);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t.keyboard().keyStates['W'].pressed, 0);
    t.keyboard().releaseKey(vk::Space);
    t.keyboard().releaseKey('W');
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(KeyAssign, SecondRowOfAButtonIsNotTheOneReassigned) {
    ctrlClick(ButtonB, 'K');
    EXPECT_EQ(t.keyboard().keyTable[RowU].keyCode, 'K');
    EXPECT_EQ(t.keyboard().keyTable[RowU + 1].keyCode, '8');
    EXPECT_THAT(play('8'), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    EXPECT_THAT(play('K'), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    EXPECT_THAT(play('U'), IsEmpty());
}

TEST_F(KeyAssign, ClosingWithoutAKeyLeavesOnlyTheClick) {
    ctrlClick(ButtonC); // the dialog closed with no key pressed
    EXPECT_EQ(t.keyboard().keyTable[RowC].keyCode, 0);
    EXPECT_STREQ(t.keyboard().keyTable[RowC].keyName, "ПР");
    EXPECT_THAT(play('Q'), IsEmpty());

    t->OnCommand(ButtonC);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
}

TEST_F(KeyAssign, CodesFrom128OnAreKeptWhole) {
    ctrlClick(ButtonC, vk::Oem4);
    EXPECT_EQ(t.keyboard().keyTable[RowC].keyCode, 219);
    // 219 also has its own row, the F above.
    EXPECT_THAT(play(vk::Oem4), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 65, 60),
                                            noteOn(0x90, 48, 0), noteOn(0x90, 65, 0)));
}

TEST_F(KeyAssign, ReassigningAgainReplacesTheCodeOfTheSameRow) {
    ctrlClick(ButtonC, 'W');
    ctrlClick(ButtonC, 'K');
    EXPECT_EQ(t.keyboard().keyTable[RowC].keyCode, 'K');
    EXPECT_STREQ(t.keyboard().keyTable[RowC].keyName, "ПР");
    EXPECT_EQ(t.keyboard().keyTable[3].keyCode, 'W');
}

TEST(KeyAssignDialog, TakesKeysItselfWithItsControlsDisabled) {
    KeyAssignDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Переназначение клавиш"));
    EXPECT_FALSE(dialog.keyEdit()->isEnabled());
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.okButton()->isDefault());
    EXPECT_TRUE(dialog.keyText.isEmpty());
    EXPECT_EQ(dialog.keyCode(), 0);
}

TEST(KeyAssignDialog, ShowsAndKeepsTheLastKeyPressed) {
    KeyAssignDialog dialog;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Q);
    EXPECT_EQ(dialog.keyText, QStringLiteral("Q 81"));
    QTest::keyClick(&dialog, Qt::Key_5);
    EXPECT_EQ(dialog.keyText, QStringLiteral("5 53"));
    EXPECT_EQ(dialog.keyEdit()->text(), QStringLiteral("5 53"));
    EXPECT_EQ(dialog.keyCode(), '5');
    // A key without a Windows code is no key to bind.
    QKeyEvent brightness(QEvent::KeyPress, Qt::Key_MonBrightnessUp, Qt::NoModifier, 233, 0, 0);
    QApplication::sendEvent(&dialog, &brightness);
    EXPECT_EQ(dialog.keyCode(), '5');

    dialog.onKeyDown(vk::Oem4);
    EXPECT_EQ(dialog.keyText, QStringLiteral("Ы 219"));
    EXPECT_EQ(dialog.keyCode(), 219);
}

TEST(KeyAssignDialog, EscapeAndAltCombinationsCloseWithoutReplacingTheKey) {
    KeyAssignDialog dialog;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_W);
    QTest::keyClick(&dialog, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(dialog.keyCode(), 'W');
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.keyCode(), 'W');
}

TEST(KeyAssignDialog, ModalRunAnswersTheKeyPressedInIt) {
    QtPrompts prompts;
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_W);
        dialog->close();
    });
    EXPECT_EQ(prompts.assignKey(nullptr), 'W');
}
