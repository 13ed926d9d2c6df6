#include "render/KeyboardOverlay.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <benchmark/benchmark.h>

using namespace ladoton;

namespace {

// A band shown in units a fifth larger than the reference cell, as a wider face makes it.
struct StretchedBand {
    QWidget window;
    KeyboardOverlay overlay{DialogUnits{7.2, 16.8}, &window};
    QImage frameBuffer{1024, 768, QImage::Format_RGB32};
    QImage windowBuffer{1280, 300, QImage::Format_RGB32};

    StretchedBand() {
        frameBuffer.fill(Qt::darkYellow);
        overlay.showBand(frameBuffer, QRegion());
    }
    void paint(const QRegion& region) { overlay.render(&windowBuffer, QPoint(), region); }
};

} // namespace

// The whole band stretched into the window's buffer, as after every pass before only
// the changed keys were shown.
static void BM_StretchedBandWhole(benchmark::State& state) {
    StretchedBand band;
    for (auto _ : state) {
        band.paint(QRegion(band.overlay.rect()));
    }
}
// Smooth stretching may be shared out to worker threads, so all threads are counted.
BENCHMARK(BM_StretchedBandWhole)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// One white key's part of the band, as a pass after a key press shows it.
static void BM_StretchedBandOneKey(benchmark::State& state) {
    StretchedBand band;
    const QRegion key(QRect(300, 0, 32, band.overlay.height()));
    for (auto _ : state) {
        band.paint(key);
    }
}
BENCHMARK(BM_StretchedBandOneKey)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
