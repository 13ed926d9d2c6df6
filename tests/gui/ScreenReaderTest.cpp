#include "TestDialog.h"
#include "app/ScreenReaderVoice.h"
#include "keys/VirtualKeys.h"
#include "ui/AboutDialog.h"
#include "ui/KeyAssignDialog.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;

namespace {
bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::StaticText:
    case QAccessible::Slider:
    case QAccessible::CheckBox:
    case QAccessible::Button:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

void walk(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& visit) {
    visit(node);
    for (int index = 0; index < node->childCount(); ++index) {
        QAccessibleInterface* child = node->child(index);
        ASSERT_NE(child, nullptr) << node->text(QAccessible::Name).toStdString() << " " << index;
        ASSERT_EQ(node->indexOfChild(child), index);
        walk(child, visit);
    }
}

QAccessibleInterface* piano(KeyboardDialog& dialog) {
    QAccessibleInterface* found = nullptr;
    walk(QAccessible::queryAccessibleInterface(&dialog), [&found](QAccessibleInterface* node) {
        if (node->role() == QAccessible::Grouping &&
            node->text(QAccessible::Name) == QStringLiteral("Клавиатура")) {
            found = node;
        }
    });
    return found;
}

// How many shown controls of the window have no name.
int namelessControls(QWidget& window) {
    int nameless = 0;
    walk(QAccessible::queryAccessibleInterface(&window), [&nameless](QAccessibleInterface* node) {
        if (isControl(node->role()) && !node->state().invisible &&
            node->text(QAccessible::Name).trimmed().isEmpty()) {
            ADD_FAILURE() << "a nameless control of role " << node->role();
            ++nameless;
        }
    });
    return nameless;
}

std::string name(QAccessibleInterface* node) {
    return node->text(QAccessible::Name).toStdString();
}
} // namespace

// Every shown control of the window and its dialogs has a name; the piano-key buttons are in
// the tree once, as the piano's 37 keys, whose parent the piano is.
TEST(ScreenReader, EveryShownControlIsNamedAndThePianoHoldsTheKeys) {
    TestDialog t;
    t.show();
    EXPECT_EQ(namelessControls(t.dialog()), 0);
    int keys = 0;
    walk(QAccessible::queryAccessibleInterface(&t.dialog()), [&keys](QAccessibleInterface* node) {
        if (node->role() == QAccessible::Button && node->parent() != nullptr &&
            node->parent()->role() == QAccessible::Grouping) {
            ++keys;
        }
    });
    EXPECT_EQ(keys, 37);
    AboutDialog about;
    about.show();
    EXPECT_EQ(namelessControls(about), 0);
    KeyAssignDialog assign;
    assign.show();
    EXPECT_EQ(namelessControls(assign), 0);
}

// A key is named by the note it sounds now, described by the PC keys that play it, pressed
// from any source while it sounds; its press action plays it as a click does.
TEST(ScreenReader, PianoKeysTellTheirNoteTheirPcKeysAndWhetherTheySound) {
    TestDialog t;
    t.show();
    QAccessibleInterface* keys = piano(t.dialog());
    ASSERT_NE(keys, nullptr);
    QAccessibleInterface* c = keys->child(1);
    EXPECT_EQ(name(keys->child(0)), "B1, си1");
    EXPECT_EQ(name(c), "C2, до2");
    EXPECT_EQ(c->text(QAccessible::Description).toStdString(), "клавиша Q");
    EXPECT_EQ(keys->child(12)->text(QAccessible::Description).toStdString(), "клавиша U, 8");
    EXPECT_EQ(keys->child(28)->text(QAccessible::Description).toStdString(), "клавиша Page Up");
    EXPECT_EQ(keys->child(29)->text(QAccessible::Description).toStdString(), "клавиша цифровая 7");
    EXPECT_FALSE(c->state().pressed);
    t.keyboard().pressKey('Q');
    EXPECT_TRUE(c->state().pressed);
    t.keyboard().releaseKey('Q');
    t.keyboard().receiveMidi(noteOn(0x90, 48, 90));
    EXPECT_TRUE(c->state().pressed);
    t.keyboard().receiveMidi(noteOn(0x80, 48, 0));
    EXPECT_FALSE(c->state().pressed);

    t.keyboard().pressKey(vk::Control);
    t.keyboard().pressKey(vk::Up);
    t.keyboard().releaseKey(vk::Up);
    t.keyboard().releaseKey(vk::Control);
    EXPECT_EQ(name(c), "C3, до3");

    t.takeSent();
    ASSERT_NE(c->actionInterface(), nullptr);
    c->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_THAT(t.takeSent(), ::testing::ElementsAre(noteOn(0x90, 60, 60), noteOn(0x90, 60, 0)));
}

// The voice is a status bar of the application, outside the window, with one notification
// that carries the text said last.
TEST(ScreenReader, TheVoiceIsANotificationInAStatusBar) {
    TestDialog t;
    t.dialog().announce("до2 ми2, большая терция");
    auto* voice = t.dialog().findChild<ScreenReaderVoice*>();
    ASSERT_NE(voice, nullptr);
    QAccessibleInterface* said =
        QAccessible::queryAccessibleInterface(const_cast<Utterance*>(&voice->utterance()));
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->role(), QAccessible::Notification);
    EXPECT_EQ(name(said), "до2 ми2, большая терция");
    ASSERT_NE(said->parent(), nullptr);
    EXPECT_EQ(said->parent()->role(), QAccessible::StatusBar);
    EXPECT_EQ(said->parent()->child(0)->object(), said->object());
    EXPECT_EQ(said->parent()->parent()->role(), QAccessible::Application);
}
