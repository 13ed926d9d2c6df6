#include "TestDialog.h"

#include <benchmark/benchmark.h>

using namespace ladoton;

namespace {
// A window as a user leaves it: texts in the edits, a melody typed in, nothing playing.
void fillControls(testing::TestDialog& t) {
    t.keyboard().melodyText = "QWERTY QWERTY ASDF";
    t.keyboard().keyCodeText = "81";
    t.keyboard().octaveLabel1 = "C3";
    t->UpdateData(false);
}
} // namespace

// The step timer's message while nothing plays and no key is held: a hundred times a second.
static void BM_IdleStepTick(benchmark::State& state) {
    testing::TestDialog t;
    fillControls(t);
    for (auto _ : state) {
        t->OnTimer(StepTimer);
    }
}
BENCHMARK(BM_IdleStepTick)->Unit(benchmark::kMicrosecond);

// The repaint timer's message with no key to paint.
static void BM_IdleRepaintTick(benchmark::State& state) {
    testing::TestDialog t;
    fillControls(t);
    for (auto _ : state) {
        t->OnTimer(RepaintTimer);
    }
}
BENCHMARK(BM_IdleRepaintTick)->Unit(benchmark::kMicrosecond);

// Every control read into its member and written back, none of them changed.
static void BM_DataExchangeUnchanged(benchmark::State& state) {
    testing::TestDialog t;
    fillControls(t);
    for (auto _ : state) {
        t->UpdateData(true);
        t->UpdateData(false);
    }
}
BENCHMARK(BM_DataExchangeUnchanged)->Unit(benchmark::kMicrosecond);
