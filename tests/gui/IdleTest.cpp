// While nothing happens a tick of the window's timers (before they rest) must change
// nothing: no widget painted again, no text set again, no member disturbed.
#include "TestDialog.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {

// Counts the paint events and text changes of a window and all its widgets.
class ActivityCounter : public QObject {
  public:
    explicit ActivityCounter(QWidget& window) {
        watch(&window);
        for (QWidget* child : window.findChildren<QWidget*>()) {
            watch(child);
            if (auto* edit = qobject_cast<QLineEdit*>(child)) {
                connect(edit, &QLineEdit::textChanged, this, [this] { ++texts; });
            }
        }
    }
    int paints = 0;
    int texts = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }

  private:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
};

// One second of the window's timers: a hundred steps, ten repaints, two metronome beats.
void runOneSecond(TestDialog& t) {
    for (int tick = 1; tick <= 100; ++tick) {
        t.clock.advance(10);
        t->OnTimer(StepTimer);
        if (tick % 10 == 0) {
            t->OnTimer(RepaintTimer);
        }
        if (tick % 50 == 0) {
            t->OnTimer(MetronomeTimer);
        }
        QApplication::processEvents();
    }
}

} // namespace

TEST(Idle, TicksAtRestPaintAndSetNothing) {
    TestDialog t;
    t.show();
    runOneSecond(t); // the first repaint after showing may still compose the keys
    t.takeSent();
    const int repaints = t.keyboard().repaintCount;
    ActivityCounter counter(t.dialog());
    runOneSecond(t);
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(counter.texts, 0);
    EXPECT_EQ(t.keyboard().repaintCount, repaints);
    EXPECT_TRUE(t.takeSent().empty());
}

TEST(Idle, AKeyPressedAtRestIsPaintedOnceThenRestsAgain) {
    TestDialog t;
    t.show();
    runOneSecond(t);
    t.keyboard().pressKey('Q');
    const int repaints = t.keyboard().repaintCount;
    runOneSecond(t);
    EXPECT_EQ(t.keyboard().repaintCount, repaints + 1);
    ActivityCounter counter(t.dialog());
    runOneSecond(t);
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(t.keyboard().repaintCount, repaints + 1);
}
