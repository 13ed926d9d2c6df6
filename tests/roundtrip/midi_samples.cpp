// Exports hand-built melodies as MIDI files into a folder, each beside a text file of the
// messages it should hold (milliseconds and bytes), for a reader outside the program to
// check.
#include "keys/VirtualKeys.h"
#include "melody/MelodyFileIo.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

using namespace ladoton;

namespace {
MelodyEvent down(int keyCode, uint32_t time) {
    return makeEvent(keyCode, 1, time);
}
MelodyEvent up(int keyCode, uint32_t time) {
    return makeEvent(keyCode, 0, time);
}

std::vector<MelodyEvent> manyEvents(std::size_t count) {
    std::vector<MelodyEvent> events;
    for (uint32_t i = 0; i < count; ++i) {
        constexpr std::array<int, 12> Keys = {'Q', '2', 'W', '3', 'E', 'R',
                                              '5', 'T', '6', 'Y', '7', 'U'};
        const int key = Keys[i / 2 % Keys.size()];
        // Uneven gaps of up to a few hundred milliseconds, some longer than one delta byte holds.
        const uint32_t gap = (i * 7919U) % 400U;
        events.push_back(makeEvent(key, i % 2 == 0 ? 1 : 0, 90000 + i * 150 + gap));
    }
    return events;
}

std::map<std::string, std::vector<MelodyEvent>> samples() {
    return {
        {"empty", {}},
        {"chord",
         {down('Q', 1000), down('E', 1000), down('T', 1001), up('E', 1500), up('Q', 1800),
          up('T', 1800)}},
        {"rest",
         {down('Q', 0), up('Q', 300), down(vk::LetterM, 400), up(vk::LetterM, 700), down('W', 900),
          up('W', 1200)}},
        {"octave",
         {down('E', 50), down(vk::Control, 60), down(vk::Up, 70), up(vk::Up, 80),
          up(vk::Control, 90), up('E', 2050), down('E', 2100), up('E', 2200)}},
        {"outside",
         {down(vk::F5, 0), down(300, 10), down('Q', 20), up(-1, 30), up(vk::F5, 40), up('Q', 60)}},
        {"gap", {down('Q', 0), up('Q', 10), down('W', 300000000U), up('W', 300000010U)}},
        {"many", manyEvents(100000)},
    };
}

bool writeExpected(const std::string& file, std::span<const MelodyEvent> events,
                   const PlayingSettings& settings) {
    std::ofstream out(file);
    for (const TimedMessage& timed : playbackPassMessages(events, initialKeyTable(), settings)) {
        out << timed.time;
        for (std::size_t i = 0; i < timed.message.size; ++i) {
            out << ' ' << int{timed.message.bytes[i]};
        }
        out << '\n';
    }
    return static_cast<bool>(out);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const PlayingSettings settings{2, 20, 4, 0, 90};
    for (const auto& [name, events] : samples()) {
        std::string base = folder;
        base += '/';
        base += name;
        if (!exportMidiFile(base + ".mid", events, initialKeyTable(), settings) ||
            !writeExpected(base + ".txt", events, settings)) {
            std::fprintf(stderr, "cannot write %s\n", base.c_str());
            return 1;
        }
    }
    return 0;
}
