#include "render/KeyboardOverlay.h"

#include <QApplication>
#include <QImage>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace ladoton;

namespace {

// A window showing the band stretched by a fifth, as a wider face makes it.
struct ShownBand {
    QWidget window;
    KeyboardOverlay* overlay = new KeyboardOverlay(DialogUnits{7.2, 16.8}, &window);
    QImage frameBuffer{1024, 768, QImage::Format_RGB32};

    ShownBand() {
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
