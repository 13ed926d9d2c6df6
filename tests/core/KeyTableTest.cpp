#include "keys/KeyTable.h"
#include "keys/VirtualKeys.h"

#include <gtest/gtest.h>
#include <set>

using namespace ladoton;

TEST(KeyTable, EveryKeyCodeOccursOnceAndOffsetsCoverThreeOctaves) {
    const KeyTable table = initialKeyTable();
    std::set<int> codes;
    std::multiset<int> offsets;
    for (const KeyEntry& row : table) {
        EXPECT_TRUE(codes.insert(row.keyCode).second) << row.keyName;
        offsets.insert(row.noteOffset);
    }
    for (int offset = -1; offset <= 35; ++offset) {
        EXPECT_EQ(offsets.count(offset), offset == 11 ? 2u : 1u) << offset;
    }
    EXPECT_EQ(offsets.count(EmptyNote), 1u);
}

TEST(KeyTable, RowsThatOtherPartsRelyOn) {
    const KeyTable table = initialKeyTable();
    EXPECT_EQ(table[0].keyCode, vk::Tab);
    EXPECT_EQ(table[0].noteOffset, -1);
    EXPECT_EQ(table[12].keyCode, 'U');
    EXPECT_EQ(table[13].keyCode, '8');
    EXPECT_EQ(table[12].buttonId, 1028);
    EXPECT_EQ(table[13].buttonId, 1028);
    EXPECT_EQ(table[37].keyCode, 'M');
    EXPECT_EQ(table[37].buttonId, 0);
    EXPECT_EQ(table[37].noteOffset, EmptyNote);
    EXPECT_EQ(table[38].keyCode, 102);
    EXPECT_EQ(table[38].noteOffset, 35);
    EXPECT_EQ(table[19].keyCode, 219);
    // Digit 7 and keypad 7 are different keys although both are named "7".
    EXPECT_EQ(table[11].keyCode, '7');
    EXPECT_EQ(table[30].keyCode, 103);
    EXPECT_STREQ(table[11].keyName, table[30].keyName);
}

TEST(KeyTable, ButtonLookupTakesTheFirstRow) {
    const KeyTable table = initialKeyTable();
    EXPECT_EQ(firstRowForButton(table, 1028), 12);
    EXPECT_EQ(firstRowForButton(table, 1044), 0);
    EXPECT_EQ(firstRowForButton(table, 1072), 38);
    EXPECT_EQ(firstRowForButton(table, 0), 37);
    EXPECT_EQ(firstRowForButton(table, 1), -1);
}

TEST(KeyTable, NoteNumbers) {
    EXPECT_EQ(noteNumber(0, 0, 4), 48);
    EXPECT_EQ(noteNumber(-1, 0, 4), 47);
    EXPECT_EQ(noteNumber(35, 0, 4), 83);
    EXPECT_EQ(noteNumber(0, 0, 5), 60);
    EXPECT_EQ(noteNumber(35, 0, 9), 143);
    EXPECT_EQ(noteNumber(0, 2147483647, 1), -2147483637); // wraps instead of overflowing
}

TEST(KeyTable, NoteNames) {
    EXPECT_EQ(noteName(0), "C-2");
    EXPECT_EQ(noteName(11), "B-2");
    EXPECT_EQ(noteName(48), "C2");
    EXPECT_EQ(noteName(60), "C3");
    EXPECT_EQ(noteName(61), "C#3");
    EXPECT_EQ(noteName(127), "G8");
    EXPECT_EQ(noteName(-1), "?");
    EXPECT_EQ(noteName(128), "?");
    EXPECT_EQ(noteName(EmptyNote), "?");
}

TEST(KeyTable, KeyStatesStartReleasedAndMarkedForRepaint) {
    const KeyStates states{};
    for (const KeyState& key : states) {
        EXPECT_EQ(key.pressed, 0);
        EXPECT_EQ(key.needsRepaint, 1);
    }
    EXPECT_FALSE(isKeyCode(-1));
    EXPECT_FALSE(isKeyCode(256));
    EXPECT_TRUE(isKeyCode(255));
}
