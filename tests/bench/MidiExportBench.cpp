#include "TestDialog.h"
#include "melody/MidiFile.h"

#include <benchmark/benchmark.h>

using namespace ladoton;

namespace {
constexpr std::size_t EventCount = 1000000;

// Presses and releases over the whole key table, chords (several presses in one
// millisecond) among them.
std::vector<MelodyEvent> manyEvents() {
    const KeyTable table = initialKeyTable();
    std::vector<MelodyEvent> events;
    events.reserve(EventCount);
    for (std::size_t i = 0; i < EventCount; ++i) {
        const int key = table[i / 2 % KeyTableRows].keyCode;
        events.push_back(makeEvent(key, i % 2 == 0 ? 1 : 0, static_cast<uint32_t>(i / 3 * 37)));
    }
    return events;
}
} // namespace

// The export command on a melody of a million events, through the window: the pass worked
// out, the file built, written beside the old one, flushed to disk and swapped in.
static void BM_ExportMillionEventMelody(benchmark::State& state) {
    testing::TestDialog t;
    const QString file = QString::fromStdString((t.folder() / "big.mid").string());
    t.keyboard().melody.replace(manyEvents());
    for (auto _ : state) {
        t.prompts.fileAnswers.push_back(file);
        t->OnCommand(command::ExportMidi);
    }
    if (!t.prompts.messages.back().text.contains(QStringLiteral("успешно"))) {
        state.SkipWithError("the melody was not exported");
    }
}
BENCHMARK(BM_ExportMillionEventMelody)->Unit(benchmark::kMillisecond);

// The same without the file system: the pass and the file's bytes.
static void BM_MillionEventMelodyToMidiBytes(benchmark::State& state) {
    const std::vector<MelodyEvent> events = manyEvents();
    const KeyTable table = initialKeyTable();
    for (auto _ : state) {
        const std::vector<uint8_t> bytes =
            midiFileBytes(playbackPassMessages(events, table, PlayingSettings{}));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_MillionEventMelodyToMidiBytes)->Unit(benchmark::kMillisecond);
