#include "melody/RandomSequence.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace ladoton;

TEST(RandomSequence, DrawsTheClassicSequenceFromSeedOne) {
    RandomSequence random;
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    EXPECT_EQ(random.next(), 26500);
}

TEST(RandomSequence, EachSequenceStartsAfreshAndIgnoresTheCLibrary) {
    RandomSequence first;
    first.next();
    std::srand(7);
    for (int i = 0; i < 1000; ++i) {
        std::rand();
    }
    RandomSequence second;
    EXPECT_EQ(second.next(), 41);
    EXPECT_EQ(first.next(), 18467);
}

TEST(RandomSequence, StaysWithinItsRangeAndReachesBothEnds) {
    RandomSequence random;
    int lowest = RandomSequence::Max;
    int highest = 0;
    for (int i = 0; i < 1 << 20; ++i) {
        const int drawn = random.next();
        lowest = std::min(lowest, drawn);
        highest = std::max(highest, drawn);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RandomSequence::Max);
}
