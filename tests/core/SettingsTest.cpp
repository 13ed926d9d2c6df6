#include "TestKeyboard.h"
#include "settings/SettingsRecord.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
namespace fs = std::filesystem;

namespace {

void writeRecord(const fs::path& file, const std::vector<int32_t>& fields) {
    std::ofstream out(file, std::ios::binary);
    for (int32_t field : fields) {
        const auto bits = static_cast<uint32_t>(field);
        const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8),
                               static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
        out.write(bytes, 4);
    }
}

struct Values {
    int amplitude, instrument, octave, transposition;
    bool operator==(const Values&) const = default;
};

Values valuesOf(const Keyboard& keyboard) {
    return {keyboard.amplitude, keyboard.instrument, keyboard.octave, keyboard.transposition};
}

} // namespace

TEST(Settings, EightByteFileSetsAmplitudeAndZeroesTheRest) {
    TestKeyboard t(false);
    writeRecord(t.settingsFile(), {24, 100});
    t.restart(false);
    EXPECT_EQ(valuesOf(t.keyboard()), (Values{100, 0, 0, 0}));
}

TEST(Settings, FullOrLongerFileIsReadAndAWrongSizeFieldIgnored) {
    TestKeyboard t(false);
    writeRecord(t.settingsFile(), {24, 90, 33, 6, -3, 0, 777, 888});
    t.restart(false);
    EXPECT_EQ(valuesOf(t.keyboard()), (Values{90, 33, 6, -3}));

    writeRecord(t.settingsFile(), {23, 90, 33, 6, -3, 0});
    t.restart(false);
    EXPECT_EQ(valuesOf(t.keyboard()), (Values{60, 0, 4, 0}));
}

TEST(Settings, CloseWritesTheShownValuesWithTheSlidersInstrument) {
    TestKeyboard t;
    t->amplitude = 77;
    t.window().sliders.instrument = 42;
    t->octave = 6;
    t->transposition = -5;
    t->instrument = 9; // a random change leaves the slider where the user put it
    t.window().updateData(false);

    t->close();

    ASSERT_EQ(fs::file_size(t.settingsFile()), 24u);
    const auto record = readSettingsFile(t.settingsFile());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->amplitude, 77);
    EXPECT_EQ(record->instrument, 42);
    EXPECT_EQ(record->octave, 6);
    EXPECT_EQ(record->transposition, -5);
    EXPECT_EQ(record->reserved, 0);

    t.restart();
    EXPECT_EQ(t->instrument, 42);
    EXPECT_EQ(t->octave, 6);
    EXPECT_EQ(t->transposition, -5);
    EXPECT_EQ(t->amplitude, 77);
}

TEST(Settings, CloseWritesWhereTheProgramStartedWhateverTheCurrentFolder) {
    TestKeyboard t;
    const fs::path started = fs::current_path();
    const fs::path elsewhere = t.folder() / "melodies";
    fs::create_directory(elsewhere);
    fs::current_path(elsewhere);
    t->close();
    fs::current_path(started);
    EXPECT_TRUE(fs::exists(t.settingsFile()));
    EXPECT_FALSE(fs::exists(elsewhere / "setting.dat"));
}

TEST(Settings, ExitWritesNothing) {
    TestKeyboard t;
    t->runCommand(command::Exit);
    EXPECT_FALSE(fs::exists(t.settingsFile()));
}

TEST(Settings, UnwritableSettingsAreSkippedSilently) {
    TestKeyboard t;
    const int closes = t.backend.closeCount;
    fs::create_directory(t.settingsFile()); // in the way even for root
    t->close();
    EXPECT_TRUE(fs::is_directory(t.settingsFile()));
    EXPECT_TRUE(t.window().messages.empty());
    EXPECT_EQ(t.backend.closeCount, closes + 1); // the close goes on
}
