#pragma once

#include <QRect>
#include <cmath>

namespace ladoton {

// Dialog units of a 6 x 14 pixel base font: 1.5 px across, 1.75 px down.
inline int duToPixelsX(double x) {
    return static_cast<int>(std::lround(x * 1.5));
}
inline int duToPixelsY(double y) {
    return static_cast<int>(std::lround(y * 1.75));
}

inline QRect duRect(int x, int y, int width, int height) {
    const int left = duToPixelsX(x);
    const int top = duToPixelsY(y);
    return {left, top, duToPixelsX(x + width) - left, duToPixelsY(y + height) - top};
}

} // namespace ladoton
