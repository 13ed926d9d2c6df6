#include "keys/KeyAssignText.h"

#include <gtest/gtest.h>

using ladoton::keyAssignText;

TEST(KeyAssignText, IsTheCharacterOfTheCodeASpaceAndTheCode) {
    EXPECT_EQ(keyAssignText(81), "Q 81");
    EXPECT_EQ(keyAssignText(53), "5 53");
    EXPECT_EQ(keyAssignText(97), "a 97"); // keypad 1
    EXPECT_EQ(keyAssignText(9), "\t 9");
    EXPECT_EQ(keyAssignText(0), std::string("\0 0", 3));
}

TEST(KeyAssignText, CodesFrom128AreWindows1251Characters) {
    EXPECT_EQ(keyAssignText(219), "Ы 219");
    EXPECT_EQ(keyAssignText(192), "А 192");
    EXPECT_EQ(keyAssignText(255), "я 255");
    EXPECT_EQ(keyAssignText(168), "Ё 168");
    EXPECT_EQ(keyAssignText(185), "№ 185");
    EXPECT_EQ(keyAssignText(136), "€ 136");
}
