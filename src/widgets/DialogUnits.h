#pragma once

#include <QRect>
#include <cmath>

namespace ladoton {

// The character cell the piano picture's pixel sizes were drawn for: Tahoma 9 pt at
// 96 dpi, 6 pixels across on average and 14 down.
inline constexpr int ReferenceBaseX = 6;
inline constexpr int ReferenceBaseY = 14;

// A face's average character width as the window system counts it for dialogs: the
// advance of the 52 Latin letters, halved per letter pair and rounded.
constexpr int averageLetterWidth(int advanceOfTheLetters) {
    return (advanceOfTheLetters / 26 + 1) / 2;
}

// Dialog base units of a dialog's font: its average character width and its height in
// pixels. A dialog unit is a quarter of the width across and an eighth of the height
// down, so a template laid out in one face keeps its proportions in any other. They
// may be fractional where a face's texts need more room than its letters promise.
struct DialogUnits {
    double baseX = ReferenceBaseX;
    double baseY = ReferenceBaseY;

    int x(int du) const { return roundedShare(du, baseX, 4); }
    int y(int du) const { return roundedShare(du, baseY, 8); }

    // Corners are converted, not sizes, so that neighbouring controls keep touching.
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(left + width) - x(left), y(top + height) - y(top)};
    }

    // How much larger than the reference cell this one is.
    double scaleX() const { return baseX / ReferenceBaseX; }
    double scaleY() const { return baseY / ReferenceBaseY; }

    friend bool operator==(const DialogUnits&, const DialogUnits&) = default;

  private:
    static int roundedShare(int value, double base, int denominator) {
        return static_cast<int>(std::lround(value * base / denominator));
    }
};

} // namespace ladoton
