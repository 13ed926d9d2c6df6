#include "TestDialog.h"
#include "melody/MelodyFile.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <string>

using namespace ladoton;

namespace {
constexpr std::size_t EventCount = 1000000;
constexpr double DataBytes = static_cast<double>(melodyFileLength(EventCount));

std::vector<MelodyEvent> manyEvents() {
    std::vector<MelodyEvent> events;
    events.reserve(EventCount);
    for (std::size_t i = 0; i < EventCount; ++i) {
        events.push_back(makeEvent(65 + static_cast<int>(i % 26), i % 2 == 0 ? 1 : 0,
                                   static_cast<uint32_t>(i * 37)));
    }
    return events;
}

// Kilobytes from a line of /proc/self/status.
double statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stod(line.substr(field.size() + 1));
        }
    }
    return 0;
}

// Resident kilobytes now, after giving back what the allocator holds unused.
double residentKilobytes() {
    malloc_trim(0);
    return statusKilobytes("VmRSS");
}

// The highest resident size while `work` runs, above `baseline`, in multiples of the
// melody file's size.
template <typename Work> double peakPerDataByte(double baseline, Work&& work) {
    std::ofstream("/proc/self/clear_refs") << "5"; // restart the high-water mark
    work();
    return (statusKilobytes("VmHWM") - baseline) * 1024 / DataBytes;
}

struct Window {
    testing::TestDialog t;
    QString file = QString::fromStdString((t.folder() / "big.mdt").string());

    void save() {
        t.prompts.fileAnswers.push_back(file);
        t->OnCommand(command::Save);
    }
    void load() {
        t.prompts.fileAnswers.push_back(file);
        t->OnCommand(command::Open);
    }
};
} // namespace

// The save command on a melody of a million events, through the window: the file is
// written beside the old one, flushed to disk and swapped in. The memory figures count
// the melody itself.
static void BM_SaveMillionEventMelody(benchmark::State& state) {
    Window window;
    const double baseline = residentKilobytes();
    window.t.keyboard().melody.replace(manyEvents());
    state.counters["peak_x_data"] = peakPerDataByte(baseline, [&] { window.save(); });
    for (auto _ : state) {
        window.save();
    }
    if (window.t.prompts.messages.back().text !=
        QStringLiteral("Файл big.mdt успешно записан(20000008 байт)")) {
        state.SkipWithError("the melody was not saved");
    }
}
BENCHMARK(BM_SaveMillionEventMelody)->Unit(benchmark::kMillisecond);

// The open command on that file, replacing a melody of the same size: at its peak the
// old melody and the new one are both held.
static void BM_LoadMillionEventMelody(benchmark::State& state) {
    Window window;
    const double baseline = residentKilobytes();
    window.t.keyboard().melody.replace(manyEvents());
    window.save();
    state.counters["peak_x_data"] = peakPerDataByte(baseline, [&] { window.load(); });
    for (auto _ : state) {
        window.load();
    }
    if (window.t.keyboard().melody.size() != EventCount || window.t.prompts.messages.size() != 1) {
        state.SkipWithError("the melody was not loaded");
    }
}
BENCHMARK(BM_LoadMillionEventMelody)->Unit(benchmark::kMillisecond);
