#include "render/KeyLook.h"

#include <gtest/gtest.h>
#include <string>

using namespace ladoton;

TEST(KeyLook, LevelColoursRunFromRimToCentre) {
    EXPECT_EQ(keyLevelColour(false, false, 0), (Rgb{75, 75, 75}));
    EXPECT_EQ(keyLevelColour(false, false, 9), (Rgb{237, 237, 237}));
    EXPECT_EQ(keyLevelColour(false, true, 9), (Rgb{162, 162, 0}));
    EXPECT_EQ(keyLevelColour(true, false, 4), (Rgb{0, 147, 147}));
    EXPECT_EQ(keyLevelColour(true, true, 9), (Rgb{162, 0, 162}));
}

TEST(KeyLook, LevelsFillOnePixelLessOnEverySide) {
    const KeyRect white = keyImageExtent(false, KeyImageRect);
    const KeyRect rim = keyLevelFill(white, 0);
    EXPECT_EQ(rim.right - 1, 40);
    EXPECT_EQ(rim.bottom - 1, 146);
    const KeyRect centre = keyLevelFill(white, 9);
    EXPECT_EQ(centre.left, 9);
    EXPECT_EQ(centre.right - 1, 31);

    const KeyRect black = keyImageExtent(true, {0, 0, 42, 148});
    EXPECT_EQ(keyLevelFill(black, 0).right - 1, 28);
    EXPECT_EQ(keyLevelFill(black, 0).bottom - 1, 113);
}

TEST(KeyLook, TextColourDependsOnKindAndState) {
    EXPECT_EQ(keyTextColour(false, false), (Rgb{117, 137, 230}));
    EXPECT_EQ(keyTextColour(true, false), (Rgb{0, 0, 0}));
    EXPECT_EQ(keyTextColour(true, true), (Rgb{255, 255, 255}));
    EXPECT_EQ(keyTextColour(false, true), (Rgb{255, 255, 255}));
}

TEST(KeyLook, CaptionSitsBelowTheMiddleMovedByStateAndKind) {
    const KeyRect white{36, 0, 78, 180};
    EXPECT_EQ(captionTop(white, false, false), 110);
    EXPECT_EQ(captionTop(white, false, true), 113);
    const KeyRect black{66, 0, 89, 110};
    EXPECT_EQ(captionTop(black, true, false), 60);
    EXPECT_EQ(captionTop(black, true, true), 63);
    // The half height truncates.
    EXPECT_EQ(captionTop({0, 0, 10, 111}, false, false), 75);
    EXPECT_EQ(solfegeTop(white, false), 120);
    EXPECT_EQ(solfegeTop(white, true), 123);
}

TEST(KeyLook, SolfegeNamesFollowThePitchClass) {
    EXPECT_EQ(std::string(solfegeName(0)), "до");
    EXPECT_EQ(std::string(solfegeName(-1)), "си");
    EXPECT_EQ(std::string(solfegeName(7)), "соль");
    EXPECT_EQ(std::string(solfegeName(24)), "до");
    EXPECT_EQ(std::string(solfegeName(1)), "");
    EXPECT_EQ(std::string(solfegeName(-13)), "си");
}
