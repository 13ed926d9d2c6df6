#include "TestDialog.h"
#include "keys/VirtualKeys.h"
#include "ui/KeyAssignDialog.h"
#include "ui/QtPrompts.h"

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

// The window answers the keyboard's question with its own key dialog.
TEST(KeyAssign, ACtrlClickOnTheWindowAsksItsKeyDialog) {
    TestDialog t;
    t.prompts.keyAnswers.push_back('W');
    t.keyboard().pressKey(vk::Control);
    t->OnCommand(1022); // the C key
    t.keyboard().releaseKey(vk::Control);
    EXPECT_TRUE(t.prompts.keyAnswers.empty());
    EXPECT_EQ(t.keyboard().keyTable[1].keyCode, 'W');
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
