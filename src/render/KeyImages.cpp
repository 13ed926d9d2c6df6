#include "render/KeyImages.h"

#include <QImage>
#include <QPainter>

namespace ladoton {

void PaintKeyImage(uint8_t isBlack, uint8_t isPressed, KeyRect rect, QImage& target) {
    const KeyRect extent = keyImageExtent(isBlack != 0, rect);
    QPainter painter(&target);
    for (int level = 0; level < KeyImageLevels; ++level) {
        const KeyRect fill = keyLevelFill(extent, level);
        if (fill.right <= fill.left || fill.bottom <= fill.top) {
            break;
        }
        const Rgb colour = keyLevelColour(isBlack != 0, isPressed != 0, level);
        painter.fillRect(QRect(fill.left, fill.top, fill.right - fill.left, fill.bottom - fill.top),
                         QColor(colour.red, colour.green, colour.blue));
    }
}

} // namespace ladoton
