#include "TestDialog.h"

#include <QMenu>
#include <QMenuBar>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::IsEmpty;

namespace {
struct MidiExport : ::testing::Test {
    TestDialog t;
};
} // namespace

TEST_F(MidiExport, TheFileMenuOffersItAfterSave) {
    QMenu* fileMenu = t->menuBar()->actions()[0]->menu();
    ASSERT_NE(fileMenu, nullptr);
    QStringList items;
    for (const QAction* action : fileMenu->actions()) {
        items << action->text();
    }
    EXPECT_EQ(items, QStringList({"Открыть", "Сохранить", "Экспорт в MIDI…", "Выход"}));
    fileMenu->actions()[2]->trigger(); // the dialog is cancelled
    ASSERT_EQ(t.prompts.fileDialogs.size(), 1u);
    EXPECT_TRUE(t.prompts.fileDialogs[0].save);
    EXPECT_EQ(t.prompts.fileDialogs[0].filter, "Файлы MIDI (*.mid)");
    EXPECT_EQ(t.prompts.fileDialogs[0].defaultSuffix, "mid");
    EXPECT_THAT(t.prompts.messages, IsEmpty());
}
