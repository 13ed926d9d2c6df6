#include "render/KeyboardOverlay.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace ladoton;

namespace {

// A window showing the band, by default stretched by a fifth, as a wider face makes it.
struct ShownBand {
    QWidget window;
    KeyboardOverlay* overlay;
    QImage frameBuffer{1024, 768, QImage::Format_RGB32};

    explicit ShownBand(DialogUnits units = DialogUnits{7.2, 16.8})
        : overlay(new KeyboardOverlay(units, &window)) {
        window.resize(1280, 300);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        frameBuffer.fill(qRgb(40, 40, 40));
        overlay->showBand(frameBuffer, QRegion());
        settle();
    }
    void settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // What the window's own buffer holds where the band is.
    QImage shown() const {
        return window.screen()
            ->grabWindow(window.winId(), overlay->x(), overlay->y(), overlay->width(),
                         overlay->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The whole band stretched afresh.
    QImage stretchedWhole() const {
        return overlay->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

// A white key in the middle of the band with a label drawn to its edge, in picture pixels.
const QRect Key(300, 0, 24, 150);

void paintKey(QImage& frameBuffer) {
    for (int y = Key.top(); y <= Key.bottom(); ++y) {
        for (int x = Key.left(); x <= Key.right(); ++x) {
            frameBuffer.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(250, 250, 250) : qRgb(0, 90, 200));
        }
    }
}

int levelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// A picture whose every pixel differs from its neighbours.
void paintPattern(QImage& frameBuffer) {
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 1024; ++x) {
            frameBuffer.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, y % 256));
        }
    }
}

// Two keys' strips from the top of the band to its foot, and a part of a third key.
QRegion keyStrips(const ShownBand& band) {
    const int height = band.overlay->height();
    return QRegion(357, 0, 41, height) + QRegion(900, 0, 52, height) + QRegion(120, 40, 30, 100);
}

// An image of the band's size, black but within the clip, where the picture is drawn in one
// piece: stretched smoothly to the band's size, or copied when the band is not stretched.
QImage pictureInOnePiece(const ShownBand& band, const QRegion& clip, bool stretched) {
    QImage image(band.overlay->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setClipRegion(clip);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (stretched) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(image.rect()), band.frameBuffer,
                          QRectF(QPointF(0, 0), QSizeF(KeyboardOverlay::pictureBand().size())));
    } else {
        painter.drawImage(QPoint(0, 0), band.frameBuffer);
    }
    return image;
}

// What the band paints of the region, at its place in an image of the band's size.
QImage paintedPart(const ShownBand& band, const QRegion& region) {
    QImage painted(band.overlay->size(), QImage::Format_RGB32);
    painted.fill(Qt::black);
    band.overlay->render(&painted, region.boundingRect().topLeft(), region);
    return painted;
}

} // namespace

TEST(BandUpdate, ChangedKeyLooksAsInTheWholeBandStretched) {
    ShownBand band;
    paintKey(band.frameBuffer);
    band.overlay->showBand(band.frameBuffer, QRegion(Key));
    band.settle();
    const QImage shown = band.shown();
    const QImage whole = band.stretchedWhole();
    ASSERT_EQ(shown.size(), whole.size());
    // Every shown pixel, the smoothed edges around the key included. Stretching a
    // clipped part may round a level differently from stretching the whole; a pixel
    // left from before would be off by far more.
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            ASSERT_LE(levelDifference(shown.pixel(x, y), whole.pixel(x, y)), 2)
                << "at " << x << "," << y;
        }
    }
}

// However the band's paint divides its fill, each row comes out as one smooth stretch makes it,
// the rows where the stretch falls between picture rows included.
TEST(BandUpdate, StretchedBandIsPaintedAsOneSmoothStretch) {
    ShownBand band;
    paintPattern(band.frameBuffer);
    const QRegion whole(band.overlay->rect());
    EXPECT_EQ(band.stretchedWhole(), pictureInOnePiece(band, whole, true));
    EXPECT_EQ(paintedPart(band, keyStrips(band)), pictureInOnePiece(band, keyStrips(band), true));
}

TEST(BandUpdate, BandAtTheReferenceCellIsThePictureItself) {
    ShownBand band{DialogUnits{}};
    paintPattern(band.frameBuffer);
    ASSERT_EQ(band.overlay->size(), KeyboardOverlay::pictureBand().size());
    const QRegion whole(band.overlay->rect());
    EXPECT_EQ(band.stretchedWhole(), pictureInOnePiece(band, whole, false));
    EXPECT_EQ(paintedPart(band, keyStrips(band)), pictureInOnePiece(band, keyStrips(band), false));
}

TEST(BandUpdate, OnlyTheChangedPartIsShownAnew) {
    ShownBand band;
    band.frameBuffer.fill(qRgb(200, 0, 0));
    band.overlay->showBand(band.frameBuffer, QRegion(Key));
    band.settle();
    const QImage shown = band.shown();
    const double scale = 7.2 / 6;
    const int keyMiddle = static_cast<int>(Key.center().x() * scale);
    EXPECT_EQ(shown.pixel(keyMiddle, 40), qRgb(200, 0, 0));
    EXPECT_EQ(shown.pixel(keyMiddle + 200, 40), qRgb(40, 40, 40));
    EXPECT_EQ(band.overlay->copies(), 2);
}
