#include "settings/InputSourceFile.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace ladoton;
using namespace ladoton::testing;

namespace {
void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}
} // namespace

// The port names of ALSA have spaces and colons; the file holds one line of them, and anything
// that is not such a line reads as no source.
TEST(InputSourceFile, KeepsAPortNameFromRunToRunAndReadsAnythingElseAsNone) {
    const TemporaryFolder folder;
    const auto file = folder.path() / "midi-input.txt";
    EXPECT_EQ(readInputSourceFile(file), ""); // missing
    ASSERT_TRUE(writeInputSourceFile(file, "Midi Through:Midi Through Port-0"));
    EXPECT_EQ(readInputSourceFile(file), "Midi Through:Midi Through Port-0");
    writeBytes(file, "keys:output\nsecond line\n");
    EXPECT_EQ(readInputSourceFile(file), "keys:output");
    writeBytes(file, "keys:out\tput\n");
    EXPECT_EQ(readInputSourceFile(file), "");
    writeBytes(file, std::string(2000, 'a'));
    EXPECT_EQ(readInputSourceFile(file), "");
}
