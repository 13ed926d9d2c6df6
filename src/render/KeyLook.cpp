#include "render/KeyLook.h"

#include <array>

namespace ladoton {

namespace {
constexpr std::array<const char*, 12> SolfegeNames = {
    "до", "", "ре", "", "ми", "фа", "", "соль", "", "ля", "", "си",
};
} // namespace

Rgb keyLevelColour(bool black, bool pressed, int level) {
    const auto v = static_cast<uint8_t>(levelValue(level));
    const auto dimmed = static_cast<uint8_t>(v - 75);
    if (black) {
        return pressed ? Rgb{dimmed, 0, dimmed} : Rgb{0, v, v};
    }
    return pressed ? Rgb{dimmed, dimmed, 0} : Rgb{v, v, v};
}

KeyRect keyImageExtent(bool black, KeyRect rect) {
    if (black) {
        rect.right = BlackKeyImageRight;
        rect.bottom = BlackKeyImageBottom;
    }
    return rect;
}

KeyRect keyLevelFill(KeyRect extent, int level) {
    // A filled rectangle without outline leaves out the last column and row.
    return {extent.left + level, extent.top + level, extent.right - level - 1,
            extent.bottom - level - 1};
}

Rgb keyTextColour(bool black, bool pressed) {
    if (pressed) {
        return {255, 255, 255};
    }
    return black ? Rgb{0, 0, 0} : Rgb{117, 137, 230};
}

int captionTop(KeyRect key, bool black, bool pressed) {
    int top = key.top + (key.bottom - key.top) / 2 + 20;
    if (pressed) {
        top += 3;
    }
    if (black) {
        top -= 15;
    }
    return top;
}

int solfegeTop(KeyRect key, bool pressed) {
    return key.top + 120 + (pressed ? 3 : 0);
}

const char* solfegeName(int32_t noteOffset) {
    const int pitchClass = ((noteOffset % 12) + 12) % 12;
    return SolfegeNames[static_cast<std::size_t>(pitchClass)];
}

} // namespace ladoton
