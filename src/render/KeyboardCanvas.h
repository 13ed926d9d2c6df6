#pragma once

#include "render/LabelTexts.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <array>
#include <optional>

namespace ladoton {

// The drawing objects of the piano picture: the off-screen frame buffer the keys
// are composed in, the four key images they are composed from, the labels' font and
// their laid-out texts. Built once, at the first key composed, and kept for the
// window's life.
class KeyboardCanvas : public QObject {
    Q_OBJECT
  public:
    static constexpr int FrameBufferWidth = 1024;
    static constexpr int FrameBufferHeight = 768;

    explicit KeyboardCanvas(QObject* owner);

    bool keyImagesPending() const { return keyImagesPending_; }
    // Creates the frame buffer and paints the four key images.
    void buildDrawingObjects();

    QImage& frameBuffer() { return frameBuffer_; }
    const QImage& frameBuffer() const { return frameBuffer_; }
    const QImage& keyImage(bool black, bool pressed) const;

    // Copies the image's top-left width x height pixels into the frame buffer at
    // (left, top). Whatever of that area lies beyond the image comes out black, as
    // an unpainted bitmap is.
    void copyKeyImage(const QImage& image, int left, int top, int width, int height);

    // The font of the key labels: choosing it and making it costs more than composing a key.
    const QFont& labelFont();
    LabelTexts& labelTexts() { return labelTexts_; }

  private:
    bool keyImagesPending_ = true;
    QImage frameBuffer_;
    std::array<QImage, 2> whiteKeyImage_;
    std::array<QImage, 2> blackKeyImage_;
    std::optional<QFont> labelFont_;
    LabelTexts labelTexts_;
};

} // namespace ladoton
