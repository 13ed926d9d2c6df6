// A popup menu or a modal box takes the keyboard: the key-up of a held key goes to it, so the
// window must end the held notes itself, and the next press of the key must play again.
#include "TestDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr uint32_t X11KeyQ = 24;

class KeyboardTaken : public ::testing::Test {
  protected:
    void SetUp() override { t.showActive(); }
    void key(QEvent::Type type) {
        QKeyEvent event(type, Qt::Key_Q, Qt::NoModifier, X11KeyQ, 0, 0);
        QWidget* target = QApplication::focusWidget() != nullptr
                              ? QApplication::focusWidget()
                              : static_cast<QWidget*>(t->melodyEdit);
        QApplication::sendEvent(target, &event);
    }
    // Runs `whileOpen` once the popup or modal window is up, then closes it.
    void whileTaken(const std::function<void()>& open, const std::function<void()>& whileOpen) {
        bool seen = false;
        QTimer::singleShot(50, [&] {
            QWidget* taker = QApplication::activePopupWidget();
            if (taker == nullptr) {
                taker = QApplication::activeModalWidget();
            }
            if (taker == nullptr || taker == &t.dialog()) {
                return;
            }
            seen = true;
            whileOpen();
            taker->close();
        });
        open();
        QTest::qWait(100);
        ASSERT_TRUE(seen);
    }
    void expectQEndedOnceAndPlayableAgain() {
        EXPECT_EQ(t.keyboard().keyStates['Q'].pressed, 0);
        key(QEvent::KeyRelease); // the release the popup took, arriving late or not at all
        EXPECT_THAT(t.takeSent(), IsEmpty());
        key(QEvent::KeyPress);
        key(QEvent::KeyRelease);
        EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    }

    TestDialog t;
};

} // namespace

TEST_F(KeyboardTaken, TheDeviceMenuEndsAHeldNote) {
    key(QEvent::KeyPress);
    std::vector<ShortMessage> whileOpen;
    whileTaken([&] { t->showDeviceMenu(QPoint(790, 300)); }, [&] { whileOpen = t.takeSent(); });
    EXPECT_THAT(whileOpen, ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    expectQEndedOnceAndPlayableAgain();
}

TEST_F(KeyboardTaken, AMenuOfTheMenuBarEndsAHeldNote) {
    key(QEvent::KeyPress);
    QMenu* fileMenu = t->menuBar()->actions().first()->menu();
    std::vector<ShortMessage> whileOpen;
    whileTaken([&] { fileMenu->popup(t->mapToGlobal(QPoint(0, 0))); },
               [&] { whileOpen = t.takeSent(); });
    EXPECT_THAT(whileOpen, ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    expectQEndedOnceAndPlayableAgain();
}

TEST_F(KeyboardTaken, AModalBoxEndsAHeldNote) {
    key(QEvent::KeyPress);
    std::vector<ShortMessage> whileOpen;
    whileTaken(
        [&] {
            QMessageBox box(&t.dialog());
            box.exec();
        },
        [&] { whileOpen = t.takeSent(); });
    EXPECT_THAT(whileOpen, ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    expectQEndedOnceAndPlayableAgain();
}
