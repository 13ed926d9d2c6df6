#include "keys/SpokenKeyName.h"
#include "keys/VirtualKeys.h"

#include <gtest/gtest.h>

using namespace ladoton;

TEST(SpokenKeyName, NamesKeysAsTheirCapsDo) {
    EXPECT_EQ(spokenKeyName('Q'), "Q");
    EXPECT_EQ(spokenKeyName('8'), "8");
    EXPECT_EQ(spokenKeyName(vk::Next), "Page Down");
    EXPECT_EQ(spokenKeyName(vk::Oem4), "[");
    // The keypad's keys are told from the digit row's.
    EXPECT_EQ(spokenKeyName(vk::Numpad0 + 7), "цифровая 7");
    EXPECT_EQ(spokenKeyName(vk::Divide), "цифровая /");
    EXPECT_EQ(spokenKeyName(vk::F5), "");
}
