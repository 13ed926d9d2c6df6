#include "FileCommandTest.h"
#include "FileConditions.h"
#include "melody/MelodyFile.h"

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

const std::string SaveCaption = "Запись композиции";

struct MelodyFiles : FileCommandTest {
    void save(const fs::path& file) {
        t.window().fileAnswers.push_back(file);
        t->runCommand(command::Save);
    }
    void load(const fs::path& file) {
        t.window().fileAnswers.push_back(file);
        t->runCommand(command::Open);
    }
    fs::path writeMelody(const std::string& name, const std::vector<MelodyEvent>& events) {
        return writeFile(name, melodyFileBytes(events));
    }
    // Q pressed and released, then W pressed: three events.
    void recordThreeEvents() {
        t->pressKey('Q');
        t.clock.advance(120);
        t->releaseKey('Q');
        t.clock.advance(80);
        t->pressKey('W');
        t->releaseAllKeys();
        t.takeSent();
        ASSERT_EQ(t->melody.size(), 3u);
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            t->timerTick(StepTimer);
        }
    }
};

} // namespace

TEST_F(MelodyFiles, SavingStartsInTheCurrentFolderAndMovesToTheChosenOne) {
    recordThreeEvents();
    fs::create_directories(t.folder() / "start");
    fs::create_directories(t.folder() / "songs");
    fs::current_path(t.folder() / "start");
    const std::vector<MelodyEvent> before = t->melody.events();

    save(t.folder() / "songs" / "tune.mdt");

    EXPECT_THAT(t.window().fileFolders, ElementsAre(t.folder() / "start"));
    ASSERT_EQ(t.window().fileDialogs.size(), 1u);
    EXPECT_TRUE(t.window().fileDialogs[0].save);
    EXPECT_EQ(t.window().fileDialogs[0].filter, "Файлы Ладотон (*.mdt)");
    EXPECT_EQ(t.window().fileDialogs[0].defaultSuffix, "mdt");
    EXPECT_THAT(
        messages(),
        ElementsAre(std::pair(SaveCaption, std::string("Файл tune.mdt успешно записан(68 байт)"))));
    EXPECT_EQ(fs::current_path(), t.folder() / "songs");
    EXPECT_THAT(readFile(t.folder() / "songs" / "tune.mdt"),
                ElementsAreArray(melodyFileBytes(before)));
    EXPECT_EQ(t->melody.size(), 3u);
    EXPECT_FALSE(t->playback.isPlaying);

    t->runCommand(command::Open); // cancelled
    EXPECT_EQ(t.window().fileFolders.back(), t.folder() / "songs");
    EXPECT_FALSE(t.window().fileDialogs.back().save);
}

// A name relative to the folder the dialog started in still names that file once its folder
// has become the current one.
TEST_F(MelodyFiles, ARelativeNameIsSavedAndLoadedWhereItPointedWhenChosen) {
    recordThreeEvents();
    fs::create_directories(t.folder() / "songs");
    fs::current_path(t.folder());
    save(fs::path("songs") / "tune.mdt");
    EXPECT_EQ(fs::current_path(), t.folder() / "songs");
    EXPECT_TRUE(fs::exists(t.folder() / "songs" / "tune.mdt"));
    EXPECT_THAT(
        messages(),
        ElementsAre(std::pair(SaveCaption, std::string("Файл tune.mdt успешно записан(68 байт)"))));

    fs::current_path(t.folder());
    load(fs::path("songs") / "tune.mdt");
    EXPECT_EQ(t.window().messages.size(), 1u) << "loaded without a box";
    EXPECT_EQ(t->melody.size(), 3u);
    EXPECT_TRUE(t->playback.isPlaying);
}

TEST_F(MelodyFiles, CancellingEitherDialogChangesNothing) {
    recordThreeEvents();
    fs::current_path(t.folder());
    t->runCommand(command::Save);
    t->runCommand(command::Open);
    EXPECT_EQ(t.window().fileFolders.size(), 2u);
    EXPECT_THAT(t.window().messages, IsEmpty());
    EXPECT_EQ(t->melody.size(), 3u);
    EXPECT_FALSE(t->playback.isPlaying);
    EXPECT_EQ(std::distance(fs::directory_iterator(t.folder()), {}), 0);
}

TEST_F(MelodyFiles, AnEmptyMelodySavesAsEightBytesAndLoadsAsSilentPlayback) {
    save(t.folder() / "empty.mdt");
    EXPECT_THAT(
        messages(),
        ElementsAre(std::pair(SaveCaption, std::string("Файл empty.mdt успешно записан(8 байт)"))));
    recordThreeEvents();

    load(t.folder() / "empty.mdt");
    EXPECT_TRUE(t->melody.empty());
    EXPECT_TRUE(t->playback.isPlaying);
    t->pressKey('E');
    EXPECT_TRUE(t->melody.empty()) << "nothing is recorded while playing";
}

TEST_F(MelodyFiles, AFailedSaveSaysSoAndLeavesTheOldFile) {
    t->melody.replace(std::vector<MelodyEvent>(1000, makeEvent('Q', 1, 0)));
    const Bytes old = {20, 0, 0, 0, 0, 0, 0, 0};
    const fs::path existing = writeFile("tune.mdt", old);
    {
        FileSizeLimit diskNearlyFull(4096);
        save(existing);
    }
    EXPECT_THAT(readFile(existing), ElementsAreArray(old));

    save("/dev/full");

    fs::create_directories(t.folder() / "locked");
    fs::permissions(t.folder() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    {
        EnforcedFilePermissions asAnyUser;
        save(t.folder() / "locked" / "new.mdt");
    }
    EXPECT_FALSE(fs::exists(t.folder() / "locked" / "new.mdt"));

    EXPECT_THAT(messages(),
                ElementsAre(std::pair(SaveCaption, std::string("Ошибка записи файла tune.mdt")),
                            std::pair(SaveCaption, std::string("Ошибка записи файла full")),
                            std::pair(SaveCaption, std::string("Ошибка записи файла new.mdt"))));
    EXPECT_EQ(t->melody.size(), 1000u);
}

TEST_F(MelodyFiles, AFileThatCannotBeReadOrIsNotAMelodyLeavesTheMelodyWhole) {
    recordThreeEvents();
    const std::vector<MelodyEvent> before = t->melody.events();
    const Bytes complete = melodyFileBytes(before);
    Bytes wrongSize = complete;
    wrongSize[0] = 21;
    Bytes fourBillion = complete;
    fourBillion[4] = 0x00;
    fourBillion[5] = 0x28;
    fourBillion[6] = 0x6B;
    fourBillion[7] = 0xEE; // 4,000,000,000
    const Bytes truncated(complete.begin(), complete.end() - 1);

    load(t.folder() / "missing.mdt");
    load(writeFile("size21.mdt", wrongSize));
    load(writeFile("two.mdt", {20, 0}));
    load(writeFile("cut.mdt", truncated));
    load(writeFile("huge.mdt", fourBillion));

    const std::string caption = "Загрузка midi данных";
    EXPECT_THAT(messages(),
                ElementsAre(std::pair(std::string("Загрузка композиции"),
                                      std::string("Данные не загружены")),
                            std::pair(caption, std::string("Файл size21.mdt некорректен")),
                            std::pair(caption, std::string("Файл two.mdt некорректен")),
                            std::pair(caption, std::string("Файл cut.mdt некорректен")),
                            std::pair(caption, std::string("Файл huge.mdt некорректен"))));
    EXPECT_EQ(melodyFileBytes(t->melody.events()), complete);
    EXPECT_FALSE(t->playback.isPlaying);
}

TEST_F(MelodyFiles, LoadingWhenStoppedPlaysTheNewMelodyFromItsFirstEvent) {
    recordThreeEvents();
    t->pressKey('E'); // held through the load
    t->melodyText = "C2 D2 ";
    t.takeSent();
    const fs::path file =
        writeMelody("tune.mdt", {makeEvent('Q', 1, 70000), makeEvent('Q', 0, 70250)});

    load(file);
    EXPECT_TRUE(t->playback.isPlaying);
    EXPECT_EQ(t->playback.playPosition, 0u);
    EXPECT_EQ(t->melody.size(), 2u);
    EXPECT_THAT(t.takeSent(), IsEmpty()) << "no held key is released";
    EXPECT_EQ(t->keyStates['E'].pressed, 1);
    EXPECT_EQ(t->melodyText, "C2 D2 ");
    EXPECT_THAT(t.window().messages, IsEmpty());

    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60)));
    t.clock.advance(250);
    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(MelodyFiles, LoadingWhilePlayingGoesOnFromThePositionOfTheRunningPass) {
    recordThreeEvents(); // Q at 0, Q up at 120, W at 200
    t->startPlayback();
    tick(); // Q
    t.clock.advance(120);
    tick(); // Q up
    t.takeSent();
    ASSERT_EQ(t->playback.playPosition, 2u);

    load(writeMelody("next.mdt", {makeEvent('E', 1, 9000), makeEvent('E', 0, 9050),
                                  makeEvent('T', 1, 9150), makeEvent('T', 0, 9900)}));
    tick();
    EXPECT_THAT(t.takeSent(), IsEmpty()) << "T is due 150 ms into the old pass, not yet";
    t.clock.advance(30);
    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 55, 60)));
    EXPECT_EQ(t->playback.playPosition, 3u);

    load(writeMelody("short.mdt", {makeEvent('E', 1, 0), makeEvent('E', 0, 10)}));
    tick(); // position 3 lies beyond the new end: back to 0
    EXPECT_EQ(t->playback.playPosition, 0u);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    tick();
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 52, 60)));
}

TEST_F(MelodyFiles, AnyNonZeroPressFlagPressesAndKeyCodesOutsideTheTableAreSkipped) {
    load(writeMelody("odd.mdt", {makeEvent('Q', 2, 0), makeEvent('Q', 0, 0), makeEvent('W', 255, 0),
                                 makeEvent(-1, 1, 0), makeEvent(300, 1, 0), makeEvent('W', 0, 0)}));
    std::vector<std::vector<ShortMessage>> perTick;
    for (int i = 0; i < 6; ++i) {
        tick();
        perTick.push_back(t.takeSent());
    }
    EXPECT_THAT(perTick,
                ElementsAre(ElementsAre(noteOn(0x90, 48, 60)), ElementsAre(noteOn(0x90, 48, 0)),
                            ElementsAre(noteOn(0x90, 50, 60)), IsEmpty(), IsEmpty(),
                            ElementsAre(noteOn(0x90, 50, 0))));
    EXPECT_EQ(t->keyCodeText, "87");
}
