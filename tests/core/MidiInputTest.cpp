#include "ShortMessages.h"
#include "midi/InputQueue.h"
#include "midi/MidiInputParser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;

namespace {
std::vector<ShortMessage> parse(const std::vector<uint8_t>& bytes) {
    MidiInputParser parser;
    std::vector<ShortMessage> messages;
    for (const uint8_t byte : bytes) {
        if (const auto message = parser.feed(byte)) {
            messages.push_back(*message);
        }
    }
    return messages;
}
} // namespace

TEST(MidiInputParser, FramesTheStreamAsADeviceReadsItsCable) {
    // Running status with a clock byte inside a message; a program change of one data byte.
    EXPECT_THAT(parse({0x91, 60, 0xF8, 100, 64, 0, 0xC2, 5, 7}),
                ElementsAre(noteOn(0x91, 60, 100), noteOn(0x91, 64, 0), programChange(0xC2, 5),
                            programChange(0xC2, 7)));
    // Data with no status yet, a message cut short by the next status, and system exclusive
    // or song position, whose data must not be read as notes under the old running status.
    EXPECT_THAT(parse({60, 100, 0x90, 60, 0xB0, 7, 100, 0xF0, 0x10, 60, 1, 0xF7, 62, 1}),
                ElementsAre(ShortMessage{{0xB0, 7, 100}, 3}));
    EXPECT_THAT(parse({0x90, 60, 1, 0xF2, 10, 20, 62, 1}), ElementsAre(noteOn(0x90, 60, 1)));
}

TEST(InputQueue, KeepsOrderAcrossTheRingsEndAndDropsWhatDoesNotFitWhole) {
    InputQueue queue(8);
    const uint8_t message[3] = {0x90, 60, 100};
    std::vector<uint8_t> out(8);
    for (int round = 0; round < 5; ++round) { // the indices pass the end of the ring
        ASSERT_TRUE(queue.push(message, 3));
        ASSERT_EQ(queue.pop(out.data(), out.size()), 3u);
        EXPECT_THAT(std::vector<uint8_t>(out.begin(), out.begin() + 3), ElementsAre(0x90, 60, 100));
    }
    EXPECT_FALSE(queue.takeOverflow());
    ASSERT_TRUE(queue.push(message, 3));
    ASSERT_TRUE(queue.push(message, 3));
    EXPECT_FALSE(queue.push(message, 3));
    EXPECT_TRUE(queue.takeOverflow());
    EXPECT_FALSE(queue.takeOverflow());
    EXPECT_EQ(queue.pop(out.data(), out.size()), 6u);
}
