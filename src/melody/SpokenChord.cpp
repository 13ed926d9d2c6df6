#include "melody/SpokenChord.h"

#include "melody/HeldNotes.h"

#include <algorithm>

namespace ladoton {

namespace {
constexpr const char* SpokenIntervals[13] = {
    "чистая прима",  "малая секунда",      "большая секунда", "малая терция", "большая терция",
    "чистая кварта", "увеличенная кварта", "чистая квинта",   "малая секста", "большая секста",
    "малая септима", "большая септима",    "чистая октава",
};

// A sharp as a voice says it: "фа#" is read "фа-диез".
std::string spokenSharps(const std::string& text) {
    std::string spoken;
    for (const char c : text) {
        if (c == '#') {
            spoken += "-диез";
        } else {
            spoken += c;
        }
    }
    return spoken;
}

std::string semitones(int64_t count) {
    const int64_t lastTwo = count % 100;
    const int64_t last = count % 10;
    const char* word = "полутонов";
    if (last == 1 && lastTwo != 11) {
        word = "полутон";
    } else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        word = "полутона";
    }
    return std::to_string(count) + " " + word;
}

std::string spokenInterval(int64_t step) {
    return step <= 12 ? SpokenIntervals[step] : semitones(step);
}
} // namespace

std::string spokenChord(std::vector<int32_t> notes) {
    notes.erase(std::remove_if(notes.begin(), notes.end(),
                               [](int32_t note) { return note < 0 || note > 127; }),
                notes.end());
    if (notes.empty()) {
        return {};
    }
    std::sort(notes.begin(), notes.end());
    std::string spoken;
    for (const int32_t note : notes) {
        if (!spoken.empty()) {
            spoken += ' ';
        }
        spoken += russianNoteName(note % 12) + std::to_string(note / 12 - 2);
    }
    const std::string triad = describeHeldNotes(notes).triad;
    if (!triad.empty()) {
        spoken += ", " + triad;
    } else if (notes.size() == 2) {
        spoken += ", " + spokenInterval(int64_t{notes[1]} - notes[0]);
    }
    return spokenSharps(spoken);
}

} // namespace ladoton
