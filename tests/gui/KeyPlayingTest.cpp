#include "TestDialog.h"
#include "keys/VirtualKeys.h"
#include "widgets/Controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {
struct KeyPlaying : ::testing::Test {
    TestDialog t;
    void SetUp() override { t.takeSent(); }
};
} // namespace

// Text pasted into the box counts by its characters, as the user sees them.
TEST_F(KeyPlaying, MelodyTextOfExactlyTheLimitIsKeptAndOneMoreCharacterStartsAfresh) {
    const QString pasted = QString(253, QChar(u'ж'));
    t->melodyEdit->setText(pasted);
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t->melodyEdit->text(), pasted + QStringLiteral("C2 "));
    t.keyboard().releaseKey('Q');

    t->melodyEdit->setText(pasted + QStringLiteral("ж"));
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().melodyText, "");
    EXPECT_EQ(t->melodyEdit->text(), QString());
}

// A line edit scrolls to its end when its text is set; the displays read from their start,
// while the melody box keeps the caret at its end with the whole text selected.
TEST_F(KeyPlaying, DisplayEditsShowTheirTextFromItsStart) {
    t.show();
    // C E G B D F ([ is 219): five intervals, far wider than the box in any face.
    for (const int key : std::initializer_list<int>{'Q', 'E', 'T', 'U', 'O', 219}) {
        t.keyboard().pressKey(key);
    }
    t->OnTimer(StepTimer);
    ASSERT_EQ(t.keyboard().intervalText.rfind("4(больш. терция) 3(малая терция)", 0), 0u)
        << t.keyboard().intervalText;
    auto* intervalEdit = qobject_cast<QLineEdit*>(t->control(1053));
    ASSERT_GT(intervalEdit->fontMetrics().horizontalAdvance(intervalEdit->text()),
              intervalEdit->width());
    for (const int id : {1053, 1060, 1050}) {
        auto* edit = qobject_cast<QLineEdit*>(t->control(id));
        EXPECT_FALSE(edit->text().isEmpty()) << id;
        EXPECT_EQ(edit->cursorPosition(), 0) << id;
    }
    EXPECT_EQ(t->melodyEdit->cursorPosition(), t->melodyEdit->text().size());
    EXPECT_EQ(t->melodyEdit->selectedText(), t->melodyEdit->text());
}

TEST_F(KeyPlaying, ShiftCollapsesTheWindowBelowThePiano) {
    t.show();
    const int before = t->height();
    t.keyboard().pressKey(vk::Shift);
    QApplication::processEvents();
    EXPECT_LT(t->height(), before);
    EXPECT_EQ(t->clientArea()->height(), t->collapseMarker->y());
}
