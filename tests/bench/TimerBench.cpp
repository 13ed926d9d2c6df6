#include "TestDialog.h"

#include <benchmark/benchmark.h>

using namespace ladoton;

// One timer message while a melody of 1,000 events plays and three keys are held,
// with nothing to paint.
static void BM_TimerMessageDuringPlayback(benchmark::State& state) {
    testing::TestDialog t;
    t.clock.sleepAdvances = false;
    for (uint32_t i = 0; i < 1000; ++i) {
        // Events far in the future: every message checks one and replays nothing.
        t.keyboard().melody.append(makeEvent('Q', i % 2 == 0 ? 1 : 0, 1000000 + i));
    }
    t.keyboard().pressKey('Q');
    t.keyboard().pressKey('E');
    t.keyboard().pressKey('T');
    t.keyboard().startPlayback();
    t.keyboard().pressKey('Q');
    t.keyboard().pressKey('E');
    t.keyboard().pressKey('T');
    t->OnTimer(StepTimer);
    for (auto _ : state) {
        t->OnTimer(StepTimer);
    }
    t.backend.sent.clear();
}
BENCHMARK(BM_TimerMessageDuringPlayback)->Unit(benchmark::kMicrosecond);
