#include "TestDialog.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;

namespace {
namespace fs = std::filesystem;

QString text(const fs::path& file) {
    return QString::fromStdString(file.string());
}
} // namespace

// The window's side of the file commands: its dialogs start in the current folder with the
// filter and suffix of the command, the chosen name comes back whole, and the box shows the
// texts as the keyboard made them.
TEST(MelodyFiles, TheWindowsDialogsAndBoxesCarryTheCommandsTexts) {
    TestDialog t;
    const fs::path startFolder = fs::current_path();
    fs::create_directories(t.folder() / "ноты");
    fs::current_path(t.folder());
    t.keyboard().pressKey('Q');
    t.prompts.fileAnswers.push_back(text(t.folder() / "ноты" / "мелодия.mdt"));
    t->OnCommand(command::Save);
    t.prompts.fileAnswers.push_back(text(t.folder() / "ноты" / "мелодия.mdt"));
    t->OnCommand(command::Open);
    const fs::path current = fs::current_path();
    fs::current_path(startFolder);

    EXPECT_THAT(t.prompts.fileFolders, ElementsAre(text(t.folder()), text(t.folder() / "ноты")));
    ASSERT_EQ(t.prompts.fileDialogs.size(), 2u);
    EXPECT_EQ(t.prompts.fileDialogs[0].filter, QStringLiteral("Файлы Ладотон (*.mdt)"));
    EXPECT_EQ(t.prompts.fileDialogs[0].defaultSuffix, QStringLiteral("mdt"));
    ASSERT_EQ(t.prompts.messages.size(), 1u);
    EXPECT_EQ(t.prompts.messages[0].caption, QStringLiteral("Запись композиции"));
    EXPECT_EQ(t.prompts.messages[0].text,
              QStringLiteral("Файл мелодия.mdt успешно записан(28 байт)"));
    EXPECT_EQ(current, t.folder() / "ноты");
    EXPECT_EQ(t.keyboard().melody.size(), 1u);
    EXPECT_TRUE(t.keyboard().playback.isPlaying);
}

// The real dialog, looked at while it is open and then dismissed.
TEST(QtFileDialogs, OfferTheMelodyFilterSuffixFolderAndOverwriteCheck) {
    const QString folder = QDir::tempPath();
    QString filters;
    QString suffix;
    QString directory;
    bool confirmsOverwrite = false;
    bool saves = false;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<QFileDialog*>(widget); found && found->isVisible()) {
                dialog = found;
            }
        }
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters().join("|");
        suffix = dialog->defaultSuffix();
        directory = dialog->directory().absolutePath();
        confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        saves = dialog->acceptMode() == QFileDialog::AcceptSave;
        dialog->reject();
    });
    QtPrompts prompts;
    EXPECT_TRUE(prompts.saveFileName(nullptr, folder, "Файлы Ладотон (*.mdt)", "mdt").isEmpty());
    EXPECT_EQ(filters, "Файлы Ладотон (*.mdt)");
    EXPECT_EQ(suffix, "mdt");
    EXPECT_EQ(directory, QDir(folder).absolutePath());
    EXPECT_TRUE(confirmsOverwrite);
    EXPECT_TRUE(saves);
}
