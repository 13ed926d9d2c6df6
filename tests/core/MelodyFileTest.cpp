#include "melody/MelodyFile.h"
#include "FileConditions.h"
#include "melody/MelodyFileIo.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <tuple>

using namespace ladoton;
using ladoton::testing::EnforcedFilePermissions;
using ladoton::testing::FileSizeLimit;
using ::testing::ElementsAreArray;

namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

auto fields(const MelodyEvent& e) {
    return std::tuple(e.keyCode, e.keyDown, e.time);
}

void expectSameEvents(const std::vector<MelodyEvent>& actual,
                      const std::vector<MelodyEvent>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(fields(actual[i]), fields(expected[i])) << "record " << i;
    }
}

const std::vector<MelodyEvent> ThreeEvents = {makeEvent(81, 1, 1000), makeEvent(87, 1, 1250),
                                              makeEvent(81, 0, 0x01020304)};

// The three events above, as the file holds them.
const Bytes ThreeEventsFile = {20, 0, 0, 0, 3, 0, 0, 0,                                           //
                               81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xE8, 0x03, 0, 0, //
                               87, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xE2, 0x04, 0, 0, //
                               81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4,    3,    2, 1};

Bytes header(uint32_t recordSize, uint32_t count) {
    Bytes bytes(8);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(recordSize >> (8 * i));
        bytes[4 + i] = static_cast<uint8_t>(count >> (8 * i));
    }
    return bytes;
}

Bytes withRecords(Bytes bytes, std::size_t records) {
    const Bytes body = melodyFileBytes(std::vector<MelodyEvent>(records, makeEvent(81, 1, 5)));
    bytes.insert(bytes.end(), body.begin() + 8, body.end());
    return bytes;
}

class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("ladoton-file-test-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& path() const { return path_; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), {}));
    }

  private:
    fs::path path_;
};

Bytes readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
} // namespace

TEST(MelodyFileFormat, ThreeEventsAreAHeaderAndThreeLittleEndianRecords) {
    EXPECT_THAT(melodyFileBytes(ThreeEvents), ElementsAreArray(ThreeEventsFile));
    EXPECT_EQ(ThreeEventsFile.size(), 68u);
    EXPECT_THAT(melodyFileBytes({}), ElementsAreArray(header(20, 0)));
}

TEST(MelodyFileFormat, UnusedFieldsAreWrittenAsZerosAndIgnoredOnReading) {
    MelodyEvent event = makeEvent(-7, 255, 0xFFFFFFFF);
    event.reserved1 = 0xAAAAAAAA;
    event.reserved2 = 0x55555555;
    event.filler[0] = event.filler[1] = event.filler[2] = 0x77;
    const Bytes bytes = melodyFileBytes(std::vector{event});
    EXPECT_THAT(
        bytes, ElementsAreArray(Bytes{20, 0, 0, 0, 1, 0,    0, 0, 0xF9, 0xFF, 0xFF, 0xFF, 0,   0, 0,
                                      0,  0, 0, 0, 0, 0xFF, 0, 0, 0,    0xFF, 0xFF, 0xFF, 0xFF}));

    Bytes dirty = bytes;
    std::fill(dirty.begin() + 12, dirty.begin() + 20, 0x99);
    std::fill(dirty.begin() + 21, dirty.begin() + 24, 0x99);
    const auto read = readMelodyFile(dirty);
    ASSERT_TRUE(read);
    expectSameEvents(*read, {makeEvent(-7, 255, 0xFFFFFFFF)});
    EXPECT_EQ(fields((*read)[0]), fields(event));
    EXPECT_EQ((*read)[0].reserved1, 0u);
}

TEST(MelodyFileFormat, ReadingGivesBackWhatWasWrittenAndIgnoresTrailingBytes) {
    std::vector<MelodyEvent> events = ThreeEvents;
    events.push_back(makeEvent(300, 2, 7));
    events.push_back(makeEvent(-1, 0, 8));
    Bytes bytes = melodyFileBytes(events);
    const auto read = readMelodyFile(bytes);
    ASSERT_TRUE(read);
    expectSameEvents(*read, events);

    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    const auto withTrailer = readMelodyFile(bytes);
    ASSERT_TRUE(withTrailer);
    expectSameEvents(*withTrailer, events);
}

TEST(MelodyFileFormat, ASourceGivingOneByteAtATimeReadsTheSame) {
    const Bytes bytes = withRecords(header(20, 7000), 7000);
    std::size_t offered = 0;
    const ByteSource trickle = [&](std::span<uint8_t> buffer) -> std::size_t {
        if (offered == bytes.size() || buffer.empty()) {
            return 0;
        }
        buffer[0] = bytes[offered++];
        return 1;
    };
    const auto read = readMelodyFile(trickle);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 7000u);
    EXPECT_EQ(offered, bytes.size());
}

TEST(MelodyFileFormat, RefusesWhatIsNotACompleteMelodyFile) {
    const Bytes twoRecords = withRecords(header(20, 2), 2);
    Bytes cutInARecord = twoRecords;
    cutInARecord.pop_back();
    const std::vector<std::pair<const char*, Bytes>> refused = {
        {"empty", {}},
        {"two bytes", {20, 0}},
        {"record size 21", withRecords(header(21, 2), 2)},
        {"record size big-endian", withRecords(header(0x14000000, 2), 2)},
        {"no count", {20, 0, 0, 0}},
        {"header only, one announced", header(20, 1)},
        {"last record cut short", cutInARecord},
        {"three announced, two held", withRecords(header(20, 3), 2)},
        {"four billion announced", withRecords(header(20, 4000000000u), 2)},
        {"largest count", withRecords(header(20, 0xFFFFFFFF), 2)},
    };
    for (const auto& [what, bytes] : refused) {
        EXPECT_FALSE(readMelodyFile(bytes)) << what;
    }
}

// A pipe does not tell its length: the count must still not size the storage.
TEST(MelodyFileFormat, AnUnsizedSourceAnnouncingFourBillionRecordsIsRefusedCheaply) {
    const Bytes bytes = withRecords(header(20, 4000000000u), 3);
    std::span<const uint8_t> rest = bytes;
    const ByteSource pipe = [&rest](std::span<uint8_t> buffer) {
        const std::size_t taken = std::min(buffer.size(), rest.size());
        std::copy_n(rest.begin(), taken, buffer.begin());
        rest = rest.subspan(taken);
        return taken;
    };
    EXPECT_FALSE(readMelodyFile(pipe));
}

TEST(MelodyFileOnDisk, SavesTheExactBytesAndLoadsThemBack) {
    TemporaryFolder folder;
    EXPECT_EQ(saveMelodyFile(folder / "tune.mdt", ThreeEvents), 68u);
    EXPECT_THAT(readBytes(folder / "tune.mdt"), ElementsAreArray(ThreeEventsFile));
    const MelodyLoadResult loaded = loadMelodyFile(folder / "tune.mdt");
    EXPECT_EQ(loaded.status, MelodyLoadStatus::Loaded);
    expectSameEvents(loaded.events, ThreeEvents);

    EXPECT_EQ(saveMelodyFile(folder / "empty.mdt", {}), 8u);
    EXPECT_THAT(readBytes(folder / "empty.mdt"), ElementsAreArray(header(20, 0)));
    EXPECT_EQ(loadMelodyFile(folder / "empty.mdt").status, MelodyLoadStatus::Loaded);
    EXPECT_EQ(folder.entries(), 2u) << "no temporary file left behind";
}

TEST(MelodyFileOnDisk, ReplacingAFileKeepsItsPermissionsAndTheLinkToIt) {
    TemporaryFolder folder;
    writeBytes(folder / "old.mdt", Bytes(100, 1));
    fs::permissions(folder / "old.mdt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(folder / "old.mdt", folder / "link.mdt");

    EXPECT_EQ(saveMelodyFile(folder / "link.mdt", ThreeEvents), 68u);
    EXPECT_TRUE(fs::is_symlink(folder / "link.mdt"));
    EXPECT_THAT(readBytes(folder / "old.mdt"), ElementsAreArray(ThreeEventsFile));
    EXPECT_EQ(fs::status(folder / "old.mdt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(MelodyFileOnDisk, AFailedWriteLeavesTheOldFileAsItWas) {
    TemporaryFolder folder;
    const Bytes old = melodyFileBytes(ThreeEvents);
    writeBytes(folder / "tune.mdt", old);
    const std::vector<MelodyEvent> longer(1000, makeEvent(81, 1, 0));
    {
        FileSizeLimit diskNearlyFull(4096);
        EXPECT_FALSE(saveMelodyFile(folder / "tune.mdt", longer));
    }
    EXPECT_THAT(readBytes(folder / "tune.mdt"), ElementsAreArray(old));
    EXPECT_EQ(folder.entries(), 1u) << "the partial file is removed";

    EXPECT_FALSE(saveMelodyFile("/dev/full", ThreeEvents));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(MelodyFileOnDisk, NothingIsWrittenIntoAReadOnlyFolderOrOverAReadOnlyFile) {
    TemporaryFolder folder;
    writeBytes(folder / "locked.mdt", Bytes(10, 1));
    fs::permissions(folder / "locked.mdt", fs::perms::owner_read);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    {
        EnforcedFilePermissions asAnyUser;
        EXPECT_FALSE(saveMelodyFile(folder / "new.mdt", ThreeEvents));
        fs::permissions(folder.path(), fs::perms::owner_all);
        EXPECT_FALSE(saveMelodyFile(folder / "locked.mdt", ThreeEvents));
    }
    EXPECT_FALSE(fs::exists(folder / "new.mdt"));
    EXPECT_THAT(readBytes(folder / "locked.mdt"), ElementsAreArray(Bytes(10, 1)));
    EXPECT_FALSE(saveMelodyFile(folder.path(), ThreeEvents)) << "a folder is not a file";
}

TEST(MelodyFileOnDisk, LoadingTellsUnreadableFilesFromInvalidOnes) {
    TemporaryFolder folder;
    EXPECT_EQ(loadMelodyFile(folder / "missing.mdt").status, MelodyLoadStatus::NotLoaded);
    EXPECT_EQ(loadMelodyFile(folder.path()).status, MelodyLoadStatus::NotLoaded);

    writeBytes(folder / "huge.mdt", withRecords(header(20, 4000000000u), 2));
    EXPECT_EQ(loadMelodyFile(folder / "huge.mdt").status, MelodyLoadStatus::Invalid);
    writeBytes(folder / "short.mdt", {20, 0});
    EXPECT_EQ(loadMelodyFile(folder / "short.mdt").status, MelodyLoadStatus::Invalid);
    EXPECT_EQ(loadMelodyFile("/dev/null").status, MelodyLoadStatus::Invalid);
}
