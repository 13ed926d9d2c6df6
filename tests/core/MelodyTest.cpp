#include "melody/Melody.h"

#include <gtest/gtest.h>

using namespace ladoton;

TEST(Melody, StorageGrowsByDoublingFromOne) {
    Melody melody;
    std::vector<std::size_t> capacities;
    for (int i = 0; i < 9; ++i) {
        melody.append(makeEvent(81, 1, static_cast<uint32_t>(i)));
        capacities.push_back(melody.capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::size_t>{1, 2, 4, 4, 8, 8, 8, 8, 16}));
    EXPECT_EQ(melody[8].time, 8u);
}

TEST(Melody, ClearingKeepsTheStorage) {
    Melody melody;
    for (int i = 0; i < 5; ++i) {
        melody.append(makeEvent(81, 1, 0));
    }
    melody.clear();
    EXPECT_TRUE(melody.empty());
    EXPECT_EQ(melody.capacity(), 8u);
}

TEST(Melody, NewEventsCarryZeroInTheirUnusedFields) {
    const MelodyEvent event = makeEvent(81, 1, 1234);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&event);
    for (int offset : {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15}) {
        EXPECT_EQ(bytes[offset], 0) << offset;
    }
}
