#include "TestDialog.h"
#include "ports/MidiPortList.h"

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

namespace {
struct MenuSeen {
    QStringList items;
    int checked = -1;
    bool shown = false;
};

std::shared_ptr<MenuSeen> rightClickAndAnswer(QWidget* target, QPoint at, int choose) {
    auto seen = std::make_shared<MenuSeen>();
    QTimer::singleShot(50, [seen, choose] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        seen->shown = true;
        const QList<QAction*> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i) {
            seen->items << actions[i]->text();
            if (actions[i]->isChecked()) {
                seen->checked = i;
            }
        }
        if (choose >= 0) {
            menu->setActiveAction(actions[choose]);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
    QTest::qWait(100);
    return seen;
}
} // namespace

TEST(DeviceMenu, RightClickOnTheSurfaceListsTheDevicesAfreshWithTheOpenOneChecked) {
    TestDialog t;
    t.show();
    t.backend.devices.push_back("Added later");
    auto seen = rightClickAndAnswer(t->clientArea(), QPoint(790, 300), -1);
    ASSERT_TRUE(seen->shown);
    EXPECT_EQ(seen->items, (QStringList{"Test device 0", "Test device 1", "Added later"}));
    EXPECT_EQ(seen->checked, 0);
    EXPECT_EQ(t.keyboard().midiOut.deviceCount, 3);
    EXPECT_THAT(t.backend.opened, ElementsAre(0)); // dismissing chooses nothing
}

TEST(DeviceMenu, ChoosingAnItemSwitchesTheDeviceAndSendsTheProgram) {
    TestDialog t;
    t.show();
    t.takeSent();
    auto seen = rightClickAndAnswer(t->clientArea(), QPoint(790, 300), 1);
    ASSERT_TRUE(seen->shown);
    EXPECT_EQ(t.keyboard().midiOut.deviceId, 1);
    EXPECT_THAT(t.backend.opened, ElementsAre(0, 1));
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
}

// The device list as the program makes it: the built-in synthesizer, then the systems' ports
// with the own ports last.
std::vector<std::string> systemDevices(const std::optional<std::vector<std::string>>& alsa,
                                       const std::optional<std::vector<std::string>>& jack) {
    std::vector<std::string> names{"Встроенный синтезатор"};
    for (const MidiPort& port : listMidiPorts(alsa, jack)) {
        names.emplace_back(port.name);
    }
    return names;
}

TEST(DeviceMenu, OwnPortsAreTheLastItemsAndAreChosenLikeAnyDevice) {
    TestDialog t;
    t.backend.devices = systemDevices(std::vector<std::string>{"Synth:in"},
                                      std::vector<std::string>{"monitor:input"});
    t.show();
    t.takeSent();
    auto seen = rightClickAndAnswer(t->clientArea(), QPoint(790, 300), 4);
    ASSERT_TRUE(seen->shown);
    EXPECT_EQ(seen->items, (QStringList{"Встроенный синтезатор", "Synth:in", "monitor:input",
                                        "Порт ALSA: Ладотон", "Порт JACK: Ладотон"}));
    EXPECT_EQ(t.keyboard().midiOut.deviceId, 4);
    EXPECT_THAT(t.backend.opened, ElementsAre(0, 4));
    // The instrument goes to the own port first, then what is played.
    t.keyboard().pressKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0), noteOn(0x90, 48, 60)));

    // Without an ALSA sequencer its own port is left out.
    t.backend.devices = systemDevices(std::nullopt, std::vector<std::string>{"monitor:input"});
    seen = rightClickAndAnswer(t->clientArea(), QPoint(790, 300), -1);
    EXPECT_EQ(seen->items,
              (QStringList{"Встроенный синтезатор", "monitor:input", "Порт JACK: Ладотон"}));
}

TEST(DeviceMenu, RightClickOnAControlOpensNoMenu) {
    TestDialog t;
    t.show();
    auto seen = rightClickAndAnswer(t->pianoButton(1022), QPoint(10, 100), -1);
    EXPECT_FALSE(seen->shown);
    EXPECT_EQ(t.keyboard().midiOut.deviceCount, 0);
}
