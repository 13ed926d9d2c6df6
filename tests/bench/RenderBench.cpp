#include "TestDialog.h"

#include <benchmark/benchmark.h>

using namespace ladoton;

namespace {
void markAll(testing::TestDialog& t) {
    for (KeyState& key : t.keyboard().keyStates) {
        key.needsRepaint = 1;
    }
}
} // namespace

// A painting pass over the whole keyboard: every key composed, the band copied.
static void BM_FullRepaintPass(benchmark::State& state) {
    testing::TestDialog t;
    t->DrawKeyboard(); // the key images are made once per run, not per pass
    for (auto _ : state) {
        markAll(t);
        t->DrawKeyboard();
    }
}
BENCHMARK(BM_FullRepaintPass)->Unit(benchmark::kMicrosecond);

// A pass after one white key changed: that key and every black key, then the copy.
static void BM_OneKeyRepaintPass(benchmark::State& state) {
    testing::TestDialog t;
    t->DrawKeyboard();
    for (auto _ : state) {
        t.keyboard().keyStates['Q'].needsRepaint = 1;
        t->DrawKeyboard();
    }
}
BENCHMARK(BM_OneKeyRepaintPass)->Unit(benchmark::kMicrosecond);

// The common case: a tick with nothing to draw.
static void BM_IdleRepaintPass(benchmark::State& state) {
    testing::TestDialog t;
    t->DrawKeyboard();
    for (auto _ : state) {
        t->DrawKeyboard();
    }
}
BENCHMARK(BM_IdleRepaintPass)->Unit(benchmark::kMicrosecond);
