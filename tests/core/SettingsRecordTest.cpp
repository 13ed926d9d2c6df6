#include "keyboard/SettingsRecord.h"
#include "FileConditions.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>
#include <vector>

using namespace ladoton;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder = fs::temp_directory_path() /
                 ("ladoton-settings-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(folder);
        file = folder / "setting.dat";
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> readBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Nothing but the listed names is left in the folder.
    std::vector<std::string> folderNames() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder;
    fs::path file;
};

SettingsRecord record(int32_t amplitude, int32_t instrument, int32_t octave,
                      int32_t transposition) {
    SettingsRecord r;
    r.amplitude = amplitude;
    r.instrument = instrument;
    r.octave = octave;
    r.transposition = transposition;
    return r;
}

} // namespace

TEST(SettingsRecordBytes, AreSixLittleEndianFields) {
    const SettingsBytes bytes = encodeSettings(record(100, 300, -1, 0x01020304));
    const SettingsBytes expected = {24,  0,   0,   0,   100, 0, 0, 0, 44, 1, 0, 0,
                                    255, 255, 255, 255, 4,   3, 2, 1, 0,  0, 0, 0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(decodeSettings(bytes), record(100, 300, -1, 0x01020304));
}

TEST_F(SettingsFile, MissingOrForeignFilesGiveNoRecord) {
    EXPECT_FALSE(readSettingsFile(file));
    writeBytes(file, {});
    EXPECT_FALSE(readSettingsFile(file));
    writeBytes(file, {23, 0, 0, 0, 100, 0, 0, 0});
    EXPECT_FALSE(readSettingsFile(file));
    EXPECT_FALSE(readSettingsFile(folder)); // a folder reads nothing
}

TEST_F(SettingsFile, ShortFileReadsZerosPastItsEnd) {
    writeBytes(file, {24, 0, 0, 0, 100, 0, 0, 0});
    EXPECT_EQ(readSettingsFile(file), record(100, 0, 0, 0));
}

TEST_F(SettingsFile, LongFileIsReadByItsFirst24BytesAndValuesStandAsTheyAre) {
    std::vector<uint8_t> bytes(40, 0xEE);
    const SettingsBytes head = encodeSettings(record(1000, -7, 99, -300));
    std::copy(head.begin(), head.end(), bytes.begin());
    writeBytes(file, bytes);
    EXPECT_EQ(readSettingsFile(file), record(1000, -7, 99, -300));
}

TEST_F(SettingsFile, WriteReplacesTheFileWithExactlyOneRecordAndLeavesNothingElse) {
    writeBytes(file, std::vector<uint8_t>(40, 0xEE));
    ASSERT_TRUE(writeSettingsFile(file, record(70, 5, 3, -2)));
    const SettingsBytes expected = encodeSettings(record(70, 5, 3, -2));
    EXPECT_EQ(readBytes(file), std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(folderNames(), std::vector<std::string>{"setting.dat"});
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileWholeAndNoLeftovers) {
    ASSERT_TRUE(writeSettingsFile(file, record(70, 5, 3, -2)));
    const std::vector<uint8_t> before = readBytes(file);
    // Something in the way of the temporary file makes the write fail.
    fs::create_directory(settingsTemporaryFile(file));
    EXPECT_FALSE(writeSettingsFile(file, record(1, 1, 1, 1)));
    EXPECT_EQ(readBytes(file), before);
    fs::remove(settingsTemporaryFile(file));
    EXPECT_EQ(folderNames(), std::vector<std::string>{"setting.dat"});
}

TEST_F(SettingsFile, UnwritablePlacesFailWithoutCreatingAnything) {
    // A folder standing where the file should be, and a file standing where its folder
    // should be: unwritable even for root.
    fs::create_directory(file);
    EXPECT_FALSE(writeSettingsFile(file, record(70, 5, 3, -2)));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_TRUE(fs::is_empty(file));
    fs::remove(file);

    writeBytes(folder / "plain", {1});
    EXPECT_FALSE(writeSettingsFile(folder / "plain" / "setting.dat", record(70, 5, 3, -2)));

    EXPECT_EQ(folderNames(), std::vector<std::string>{"plain"});
}

TEST_F(SettingsFile, ReadOnlyFolderIsNotWritten) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
        const ladoton::testing::EnforcedFilePermissions asAnyUser;
        EXPECT_FALSE(writeSettingsFile(file, record(70, 5, 3, -2)));
    }
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_TRUE(folderNames().empty());
}

TEST_F(SettingsFile, WritesThroughASymbolicLinkAndKeepsThePermissions) {
    writeBytes(folder / "kept.dat", {});
    fs::permissions(folder / "kept.dat", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("kept.dat", file);
    ASSERT_TRUE(writeSettingsFile(file, record(70, 5, 3, -2)));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readSettingsFile(folder / "kept.dat"), record(70, 5, 3, -2));
    EXPECT_EQ(fs::status(folder / "kept.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
