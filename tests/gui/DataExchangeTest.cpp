// The data exchange remembers what it last read and wrote; whatever changed since, in the
// control or in the member, must still be exchanged as if it remembered nothing.
#include "TestDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {
QLineEdit& edit(TestDialog& t, int id) {
    return *qobject_cast<QLineEdit*>(t->control(id));
}
} // namespace

TEST(DataExchange, MembersChangedByCodeAreGivenTheUnchangedControlsValuesAgain) {
    TestDialog t;
    edit(t, 1045).setText(QStringLiteral("QWE"));
    edit(t, 1042).setText(QStringLiteral("6"));
    edit(t, 1042).setText(QStringLiteral("6"));
    t->UpdateData(true);
    t->UpdateData(true);
    t.keyboard().melodyText = "ASD";
    t.keyboard().octave = 2;
    t.keyboard().octaveLabel1 = "x";
    t->UpdateData(true);
    EXPECT_EQ(t.keyboard().melodyText, "QWE");
    EXPECT_EQ(t.keyboard().octave, 6);
    EXPECT_EQ(t.keyboard().octaveLabel1,
              qobject_cast<QLabel*>(t->control(1074))->text().toStdString());
}

TEST(DataExchange, TextsEditedInPlaceAreReadAgain) {
    TestDialog t;
    edit(t, 1045).setText(QStringLiteral("QW"));
    edit(t, 1042).setText(QStringLiteral("5"));
    t->UpdateData(true);
    // Typing changes the edit's own text where it stands rather than giving it a new one.
    edit(t, 1045).end(false);
    edit(t, 1045).insert(QStringLiteral("E"));
    edit(t, 1042).end(false);
    edit(t, 1042).backspace();
    edit(t, 1042).insert(QStringLiteral("7"));
    t->UpdateData(true);
    EXPECT_EQ(t.keyboard().melodyText, "QWE");
    EXPECT_EQ(t.keyboard().octave, 7);
    edit(t, 1042).backspace();
    edit(t, 1042).insert(QStringLiteral("x"));
    t.keyboard().octave = 3;
    t->UpdateData(true);
    EXPECT_EQ(t.keyboard().octave, 3) << "a text that is no number leaves the member as it is";
}

TEST(DataExchange, WritesShowTheMembersAgainOverWhatTheUserTyped) {
    TestDialog t;
    t.keyboard().melodyText = "QWE";
    t.keyboard().octave = 5;
    t->UpdateData(false);
    t->UpdateData(false);
    edit(t, 1045).setText(QStringLiteral("Z"));
    edit(t, 1042).end(false);
    edit(t, 1042).insert(QStringLiteral("1"));
    t->UpdateData(false);
    EXPECT_EQ(edit(t, 1045).text(), QStringLiteral("QWE"));
    EXPECT_EQ(edit(t, 1042).text(), QStringLiteral("5"));
    // Written, read as typed over, and written again: each shows what it was given.
    edit(t, 1042).setText(QStringLiteral("8"));
    t->UpdateData(true);
    t.keyboard().octave = 5;
    t->UpdateData(false);
    EXPECT_EQ(edit(t, 1042).text(), QStringLiteral("5"));
}
