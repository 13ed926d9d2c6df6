#include "FileCommandTest.h"
#include "FileConditions.h"
#include "melody/MidiFile.h"

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
using Bytes = FileCommandTest::Bytes;

const std::string ExportCaption = "Экспорт в MIDI";

struct MidiExport : FileCommandTest {
    void exportTo(const fs::path& file) {
        t.window().fileAnswers.push_back(file);
        t->runCommand(command::ExportMidi);
    }
    // Q held for 300 ms, then M (a rest) pressed and released.
    void recordPhrase() {
        t->pressKey('Q');
        t.clock.advance(300);
        t->releaseKey('Q');
        t.clock.advance(100);
        t->pressKey('M');
        t->releaseKey('M');
        t.takeSent();
        ASSERT_EQ(t->melody.size(), 3u);
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

TEST_F(MidiExport, WritesWhatPlaybackWouldSendNowAndReportsTheLength) {
    recordPhrase();
    fs::create_directories(t.folder() / "start");
    fs::create_directories(t.folder() / "songs");
    fs::current_path(t.folder() / "start");
    // Values set after recording count, as they would for playback.
    t->octave = 5;
    t->transposition = 2;
    t->amplitude = 100;
    t->channel = 3;
    t->currentProgram = 10;
    t.window().updateData(false);

    exportTo(t.folder() / "songs" / "tune.mid");

    const Bytes expected = track({
        0x00, 0xC2, 9,           // program 10 on channel 3
        0x00, 0x92, 62, 100,     // Q: 0 + 2 + 12 * 5
        0x82, 0x2C, 0x92, 62, 0, // released 300 ms later
        0x00, 0xFF, 0x2F, 0x00,  // M sounds nothing
    });
    EXPECT_THAT(readFile(t.folder() / "songs" / "tune.mid"), ElementsAreArray(expected));
    EXPECT_THAT(messages(), ElementsAre(std::pair(ExportCaption,
                                                  "Файл tune.mid успешно записан(" +
                                                      std::to_string(expected.size()) + " байт)")));
    EXPECT_THAT(t.window().fileFolders, ElementsAre(t.folder() / "start"));
    EXPECT_EQ(fs::current_path(), t.folder() / "songs");
    EXPECT_EQ(t->melody.size(), 3u);
    EXPECT_FALSE(t->playback.isPlaying);
    EXPECT_THAT(t.takeSent(), IsEmpty()) << "exporting sends nothing";
}

TEST_F(MidiExport, AnEmptyMelodyGivesTheProgramAndTheEndOfTrack) {
    exportTo(t.folder() / "empty.mid");
    EXPECT_THAT(readFile(t.folder() / "empty.mid"),
                ElementsAreArray(track({0x00, 0xC0, 61, 0x00, 0xFF, 0x2F, 0x00})));
    EXPECT_THAT(messages(),
                ElementsAre(std::pair(ExportCaption,
                                      std::string("Файл empty.mid успешно записан(29 байт)"))));
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
                ElementsAre(std::pair(ExportCaption, std::string("Ошибка записи файла tune.mid")),
                            std::pair(ExportCaption, std::string("Ошибка записи файла new.mid")),
                            std::pair(ExportCaption, std::string("Ошибка записи файла gone.mid"))));
}
