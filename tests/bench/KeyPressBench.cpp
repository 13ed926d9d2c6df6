#include "TestDialog.h"

#include <benchmark/benchmark.h>

using namespace ladoton;

// One bound key pressed and released on the real window; the 1 ms pause after each
// note is left out (the manual clock does not sleep).
static void BM_PressAndReleaseBoundKey(benchmark::State& state) {
    testing::TestDialog t;
    t.clock.sleepAdvances = false;
    for (auto _ : state) {
        t.keyboard().pressKey('Q');
        t.keyboard().releaseKey('Q');
        t.backend.sent.clear();
        if (t.keyboard().melody.size() > 100000) {
            t.keyboard().melody.clear();
        }
    }
}
BENCHMARK(BM_PressAndReleaseBoundKey)->Unit(benchmark::kMicrosecond);
