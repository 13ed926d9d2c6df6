#include "render/KeyboardCanvas.h"

#include "render/KeyImages.h"
#include "render/LabelFont.h"

#include <algorithm>
#include <cstring>

namespace ladoton {

namespace {
QImage blackImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}
} // namespace

KeyboardCanvas::KeyboardCanvas(QObject* owner) : QObject(owner) {}

void KeyboardCanvas::buildDrawingObjects() {
    frameBuffer_ = blackImage(FrameBufferWidth, FrameBufferHeight);
    for (QImage* image :
         {&whiteKeyImage_[0], &whiteKeyImage_[1], &blackKeyImage_[0], &blackKeyImage_[1]}) {
        *image = blackImage(KeyImageWidth, KeyImageHeight);
    }
    keyImagesPending_ = false;
    PaintKeyImage(0, 0, KeyImageRect, whiteKeyImage_[0]);
    PaintKeyImage(0, 1, KeyImageRect, whiteKeyImage_[1]);
    PaintKeyImage(1, 0, KeyImageRect, blackKeyImage_[0]);
    PaintKeyImage(1, 1, KeyImageRect, blackKeyImage_[1]);
}

const QFont& KeyboardCanvas::labelFont() {
    if (!labelFont_) {
        labelFont_ = makeLabelFont();
    }
    return *labelFont_;
}

const QImage& KeyboardCanvas::keyImage(bool black, bool pressed) const {
    const std::size_t index = pressed ? 1 : 0;
    return black ? blackKeyImage_[index] : whiteKeyImage_[index];
}

void KeyboardCanvas::copyKeyImage(const QImage& image, int left, int top, int width, int height) {
    const QRect target = QRect(left, top, width, height).intersected(frameBuffer_.rect());
    if (target.isEmpty()) {
        return;
    }
    const int sourceColumn = target.left() - left;
    const int imageColumns = std::clamp(image.width() - sourceColumn, 0, target.width());
    auto* const pixels = reinterpret_cast<QRgb*>(frameBuffer_.bits());
    const qsizetype stride = frameBuffer_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    for (int y = target.top(); y <= target.bottom(); ++y) {
        QRgb* const out = pixels + y * stride + target.left();
        const int sourceRow = y - top;
        int copied = 0;
        if (sourceRow < image.height()) {
            copied = imageColumns;
            const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(sourceRow));
            std::memcpy(out, in + sourceColumn, static_cast<std::size_t>(copied) * sizeof(QRgb));
        }
        std::fill(out + copied, out + target.width(), qRgb(0, 0, 0));
    }
}

} // namespace ladoton
