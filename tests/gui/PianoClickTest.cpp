// Clicks go through Qt's own hit testing (mouse events sent to the window, not to a widget),
// so whatever stands over a piano key decides what a click there does.
#include "TestDialog.h"
#include "widgets/MainWindowTemplate.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PianoClicks : public ::testing::Test {
  protected:
    void SetUp() override { t.showActive(); }

    QRect keyRect(const PianoKeySpec& key) { return t->pianoButton(key.id)->geometry(); }

    // Points one pixel or more inside the key, every few pixels, that no piano key stacked
    // above it covers (the black keys, and the next white key over a white key's edge).
    std::vector<QPoint> visiblePoints(const PianoKeySpec& key) {
        const QRect rect = keyRect(key).adjusted(1, 1, -1, -1);
        std::vector<QPoint> points;
        for (int y = rect.top(); y <= rect.bottom(); y += 5) {
            for (int x = rect.left(); x <= rect.right(); x += 3) {
                if (!coveredByAnotherKey(key, QPoint(x, y))) {
                    points.emplace_back(x, y);
                }
            }
        }
        return points;
    }
    bool coveredByAnotherKey(const PianoKeySpec& key, QPoint point) {
        const QObjectList& stack = t->clientArea()->children(); // bottom to top
        const auto own = stack.indexOf(t->pianoButton(key.id));
        for (const PianoKeySpec& other : PianoKeys) {
            QPushButton* button = t->pianoButton(other.id);
            if (stack.indexOf(button) > own &&
                button->geometry().adjusted(-1, -1, 1, 1).contains(point)) {
                return true;
            }
        }
        return false;
    }
    QPoint inWindow(QPoint clientPoint) { return t->clientArea()->mapTo(&t.dialog(), clientPoint); }

    int noteOf(const PianoKeySpec& key) {
        const KeyEntry& row =
            t.keyboard().keyTable[firstRowForButton(t.keyboard().keyTable, key.id)];
        return noteNumber(row.noteOffset, 0, 4);
    }

    TestDialog t;
};

} // namespace

TEST_F(PianoClicks, AClickAnywhereOnTheVisiblePartOfAKeyPlaysThatKey) {
    for (const PianoKeySpec& key : PianoKeys) {
        const std::vector<QPoint> points = visiblePoints(key);
        ASSERT_GE(points.size(), 10u) << key.caption;
        for (const QPoint point : points) {
            QTest::mouseClick(t->windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow(point));
            const int note = noteOf(key);
            ASSERT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, note, 60), noteOn(0x90, note, 0)))
                << key.caption << " at " << point.x() << "," << point.y();
        }
    }
}

TEST_F(PianoClicks, ARightClickOnAKeyOpensNoDeviceMenu) {
    int menus = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++menus;
            popup->close();
        }
    });
    closer.start(5);
    for (const PianoKeySpec& key : PianoKeys) {
        for (const QPoint point : visiblePoints(key)) {
            QTest::mouseClick(t->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow(point));
        }
    }
    QTest::qWait(20);
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(t.keyboard().midiOut.deviceCount, 0); // the device list was never asked for
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(PianoClicks, ARightClickOnALabelOfTheSurfaceOpensTheDeviceMenu) {
    QWidget* label = t->control(1088); // the marker under the piano
    ASSERT_NE(label, nullptr);
    bool shown = false;
    QTimer::singleShot(50, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = true;
            popup->close();
        }
    });
    QTest::mouseClick(t->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      inWindow(label->geometry().center()));
    QTest::qWait(100);
    EXPECT_TRUE(shown);
}
