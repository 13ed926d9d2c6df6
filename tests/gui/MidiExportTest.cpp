#include "FileConditions.h"
#include "TestDialog.h"
#include "melody/MidiFile.h"

#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const QString ExportCaption = QStringLiteral("Экспорт в MIDI");

struct MidiExport : ::testing::Test {
    TestDialog t;
    fs::path startFolder = fs::current_path();

    void SetUp() override {
        t.clock.sleepAdvances = false;
        t.takeSent();
    }
    void TearDown() override { fs::current_path(startFolder); }

    static QString text(const fs::path& file) { return QString::fromStdString(file.string()); }
    void exportTo(const fs::path& file) {
        t.prompts.fileAnswers.push_back(text(file));
        t->OnCommand(command::ExportMidi);
    }
    static Bytes readFile(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // Q held for 300 ms, then M (a rest) pressed and released.
    void recordPhrase() {
        t.keyboard().pressKey('Q');
        t.clock.advance(300);
        t.keyboard().releaseKey('Q');
        t.clock.advance(100);
        t.keyboard().pressKey('M');
        t.keyboard().releaseKey('M');
        t.takeSent();
        ASSERT_EQ(t.keyboard().melody.size(), 3u);
    }
    std::vector<std::pair<QString, QString>> messages() const {
        std::vector<std::pair<QString, QString>> shown;
        for (const auto& message : t.prompts.messages) {
            shown.emplace_back(message.caption, message.text);
        }
        return shown;
    }
};

Bytes track(const Bytes& events) {
    Bytes file = {
        'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
        1,   0x01, 0xF4, 'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(events.size())};
    std::copy(events.begin(), events.end(), std::back_inserter(file));
    return file;
}
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

TEST_F(MidiExport, WritesWhatPlaybackWouldSendNowAndReportsTheLength) {
    recordPhrase();
    fs::create_directories(t.folder() / "start");
    fs::create_directories(t.folder() / "songs");
    fs::current_path(t.folder() / "start");
    // Values set after recording count, as they would for playback.
    t.keyboard().octave = 5;
    t.keyboard().transposition = 2;
    t.keyboard().amplitude = 100;
    t.keyboard().channel = 3;
    t.keyboard().currentProgram = 10;
    t->UpdateData(false);

    exportTo(t.folder() / "songs" / "tune.mid");

    const Bytes expected = track({
        0x00, 0xC2, 9,           // program 10 on channel 3
        0x00, 0x92, 62, 100,     // Q: 0 + 2 + 12 * 5
        0x82, 0x2C, 0x92, 62, 0, // released 300 ms later
        0x00, 0xFF, 0x2F, 0x00,  // M sounds nothing
    });
    EXPECT_THAT(readFile(t.folder() / "songs" / "tune.mid"), ElementsAreArray(expected));
    EXPECT_THAT(messages(),
                ElementsAre(std::pair(
                    ExportCaption,
                    QString("Файл tune.mid успешно записан(%1 байт)").arg(expected.size()))));
    EXPECT_THAT(t.prompts.fileFolders, ElementsAre(text(t.folder() / "start")));
    EXPECT_EQ(fs::current_path(), t.folder() / "songs");
    EXPECT_EQ(t.keyboard().melody.size(), 3u);
    EXPECT_FALSE(t.keyboard().playback.isPlaying);
    EXPECT_THAT(t.takeSent(), IsEmpty()) << "exporting sends nothing";
}

TEST_F(MidiExport, AnEmptyMelodyGivesTheProgramAndTheEndOfTrack) {
    exportTo(t.folder() / "empty.mid");
    EXPECT_THAT(readFile(t.folder() / "empty.mid"),
                ElementsAreArray(track({0x00, 0xC0, 61, 0x00, 0xFF, 0x2F, 0x00})));
    EXPECT_THAT(
        messages(),
        ElementsAre(std::pair(ExportCaption, QString("Файл empty.mid успешно записан(29 байт)"))));
}

TEST_F(MidiExport, AFailedExportSaysSoAndLeavesTheOldFile) {
    recordPhrase();
    const fs::path existing = t.folder() / "tune.mid";
    std::ofstream(existing) << "old";
    fs::create_directories(t.folder() / "locked");
    fs::permissions(t.folder() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(existing, fs::perms::owner_read);
    {
        EnforcedFilePermissions asAnyUser;
        exportTo(existing);
        exportTo(t.folder() / "locked" / "new.mid");
    }
    exportTo(t.folder() / "missing" / "gone.mid");

    EXPECT_THAT(readFile(existing), ElementsAre('o', 'l', 'd'));
    EXPECT_FALSE(fs::exists(t.folder() / "locked" / "new.mid"));
    EXPECT_THAT(messages(),
                ElementsAre(std::pair(ExportCaption, QString("Ошибка записи файла tune.mid")),
                            std::pair(ExportCaption, QString("Ошибка записи файла new.mid")),
                            std::pair(ExportCaption, QString("Ошибка записи файла gone.mid"))));
}
