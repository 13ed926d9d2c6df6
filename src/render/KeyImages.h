#pragma once

#include "render/KeyLook.h"

#include <cstdint>

class QImage;

namespace ladoton {

// Paints one shaded key image into target: ten nested rectangles, darkest rim
// outside. A black key keeps to its own fixed extent, whatever rect says.
void PaintKeyImage(uint8_t isBlack, uint8_t isPressed, KeyRect rect, QImage& target);

} // namespace ladoton
