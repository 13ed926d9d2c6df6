#include "keys/MelodyText.h"

#include <gtest/gtest.h>

using namespace ladoton;

namespace {
std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}
} // namespace

TEST(MelodyText, CountsCharactersNotBytes) {
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("C#2 "), 4u);
    EXPECT_EQ(characterCount("до-мажор"), 8u);
    EXPECT_EQ(characterCount("\xF0\x9F\x8E\xB9"), 1u); // one character outside the BMP
}

TEST(MelodyText, KeepsExactlyTheLimitAndStartsAfreshBeyondIt) {
    for (const std::string_view piece : {"a", "ж"}) {
        std::string text = repeated(piece, MelodyTextLimit - 3);
        appendNoteName(text, 48);
        EXPECT_EQ(characterCount(text), MelodyTextLimit) << piece;
        EXPECT_TRUE(text.ends_with("C2 "));

        text = repeated(piece, MelodyTextLimit - 2);
        appendNoteName(text, 48);
        EXPECT_EQ(text, "") << piece;
    }
}

TEST(MelodyText, NotesOutsideTheMidiRangeAppendAQuestionMark) {
    std::string text;
    appendNoteName(text, 128);
    appendNoteName(text, 61);
    EXPECT_EQ(text, "? C#3 ");
}
