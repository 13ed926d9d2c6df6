#pragma once

#include <cstdint>

namespace ladoton {

// How a piano key looks: the rules of the key images and of the texts on a key,
// free of any drawing library.

// Left, top, right, bottom in pixels; right and bottom lie just outside.
struct KeyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// Every key image is drawn into a bitmap of this size.
inline constexpr int KeyImageWidth = 42;
inline constexpr int KeyImageHeight = 178;
// The rectangle each image is painted with.
inline constexpr KeyRect KeyImageRect{0, 0, 42, 148};
// A black key's image ends here whatever the rectangle says.
inline constexpr int BlackKeyImageRight = 30;
inline constexpr int BlackKeyImageBottom = 115;

// The image is a stack of filled rectangles, one pixel narrower on each side per level.
inline constexpr int KeyImageLevels = 10;

// Rows copied below a key's rectangle, so the image runs to the key's foot.
inline constexpr int KeyCopyExtraRows = 5;

// Grey level of a level k (75, 93, ... 237).
inline constexpr int levelValue(int level) {
    return 75 + 18 * level;
}

Rgb keyLevelColour(bool black, bool pressed, int level);

// The rectangle PaintKeyImage really uses for a key of this kind.
KeyRect keyImageExtent(bool black, KeyRect rect);

// The filled rectangle of one level, or an empty one (right <= left) when the key
// is too small for it; right and bottom lie just outside.
KeyRect keyLevelFill(KeyRect extent, int level);

Rgb keyTextColour(bool black, bool pressed);

// Top edge of the caption's rectangle (left, top, right, bottom of the key otherwise).
int captionTop(KeyRect key, bool black, bool pressed);

// Top edge of the solfege name's rectangle.
int solfegeTop(KeyRect key, bool pressed);

// Solfege name (UTF-8) of the key's pitch class; empty for the black pitch classes.
const char* solfegeName(int32_t noteOffset);

// Where the PC key's name starts: its top-left corner.
inline constexpr int KeyNameInset = 7;
inline constexpr int KeyNameRise = 20;

} // namespace ladoton
