// The step and repaint timers, and the metronome's while it is off, stop waking the program
// while nothing can happen, and tick again from the next event on; so does the text caret after
// a while without input.
#include "TestDialog.h"
#include "app/CaretBlinkTimeout.h"
#include "app/WindowTimers.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace ladoton;
using namespace ladoton::testing;

TEST(RestingTimers, RestAfterATickWithNothingToDoAndWakeAtTheNextEvent) {
    QObject owner;
    int ticks = 0;
    bool idle = true;
    WindowTimers timers(&owner, [&](int) { ++ticks; });
    timers.restWhen({0}, [&] { return idle; });
    timers.start(0, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timers.resting(); }, 5000));
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timers.period(0), 1) << "a resting timer still counts as running";
    QTest::qWait(30);
    EXPECT_EQ(ticks, 1);

    idle = false;
    QCoreApplication::postEvent(&owner, new QEvent(QEvent::User));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    EXPECT_FALSE(timers.resting()) << "work to do keeps the timer awake";
    timers.stop(0);
    EXPECT_EQ(timers.period(0), 0);
}

TEST(RestingTimers, EachGroupRestsByItsOwnCondition) {
    QObject owner;
    std::map<int, int> ticks;
    WindowTimers timers(&owner, [&](int id) { ++ticks[id]; });
    timers.restWhen({0}, [] { return true; });
    timers.restWhen({1}, [] { return false; });
    timers.start(0, 1);
    timers.start(1, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks[1] >= 20; }, 5000));
    EXPECT_EQ(ticks[0], 1) << "the idle group woke again";
    EXPECT_FALSE(timers.resting()) << "one group still ticks";
}

TEST(RestingTimers, ATimerRestartedWhileRestingWaitsForTheNextEvent) {
    QObject owner;
    int ticks = 0;
    WindowTimers timers(&owner, [&](int) { ++ticks; });
    timers.restWhen({0}, [] { return true; });
    timers.start(0, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timers.resting(); }, 5000));
    timers.start(0, 2);
    QTest::qWait(30);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timers.period(0), 2);
    QCoreApplication::postEvent(&owner, new QEvent(QEvent::User));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
}

TEST(RestingTimers, TheWindowRestsAtRestAndAKeyWakesItToPaintThatKey) {
    TestDialog t;
    t.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return t->timersResting(); }, 5000));
    EXPECT_EQ(t->timerPeriod(StepTimer), 10);
    EXPECT_EQ(t->timerPeriod(RepaintTimer), 100);
    const int repaints = t.keyboard().repaintCount;

    QTest::keyPress(&t.dialog(), Qt::Key_Q);
    EXPECT_FALSE(t->timersResting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.keyboard().repaintCount > repaints; }, 5000))
        << "the pressed key is painted by the woken repaint timer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return t->timersResting(); }, 5000))
        << "a held key gives the timers nothing more to do";
    QTest::keyRelease(&t.dialog(), Qt::Key_Q);
}

TEST(RestingTimers, TheMetronomeBeatsOnlyWhileItIsOn) {
    TestDialog t;
    t.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return t->timersResting(); }, 5000));
    EXPECT_EQ(t->timerPeriod(MetronomeTimer), 500);
    auto* box = qobject_cast<QCheckBox*>(t->control(1083));
    ASSERT_NE(box, nullptr);
    t.takeSent();

    box->click(); // an event: the resting timers wake
    const auto clicked = [&] {
        const auto sent = t.takeSent();
        return std::any_of(sent.begin(), sent.end(),
                           [](const ShortMessage& message) { return message.bytes[0] == 0x99; });
    };
    ASSERT_TRUE(QTest::qWaitFor(clicked, 5000)) << "the metronome does not click";
    EXPECT_FALSE(t->timersResting());
    box->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return t->timersResting(); }, 5000));
}

TEST(RestingTimers, PlaybackKeepsTheWindowAwake) {
    TestDialog t;
    t.show();
    t.keyboard().pressKey('Q');
    t.keyboard().releaseKey('Q');
    t.keyboard().startPlayback();
    QTest::qWait(300);
    EXPECT_FALSE(t->timersResting());
    t.keyboard().stopPlayback();
}

TEST(CaretBlink, StopsAfterAWhileWithoutInputAndBlinksAgainAtTheNextKey) {
    const int flashTime = QApplication::cursorFlashTime();
    ASSERT_GT(flashTime, 0);
    {
        const CaretBlinkTimeout caret(50);
        QLineEdit edit;
        edit.show();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::cursorFlashTime() == 0; }, 5000));
        QTest::keyClick(&edit, Qt::Key_A);
        EXPECT_EQ(QApplication::cursorFlashTime(), flashTime);
        EXPECT_EQ(edit.text(), QStringLiteral("a")) << "the key reached the edit";
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::cursorFlashTime() == 0; }, 5000));
    }
    EXPECT_EQ(QApplication::cursorFlashTime(), flashTime) << "the desktop's blink is given back";
}
