#include "melody/HeldNotes.h"

#include <algorithm>

namespace ladoton {

namespace {
constexpr const char* IntervalNames[13] = {
    "чист. прима",   "малая сек.",     "больш. сек.",   "малая терция", "больш. терция",
    "чистая кварта", "увелич. кварта", "чист. квинта",  "малая секста", "больш. секста",
    "малая септа",   "больш. септа",   "чистая октава",
};
constexpr const char* RussianNoteNames[12] = {"до",  "до#",  "ре",    "ре#", "ми",  "фа",
                                              "фа#", "соль", "соль#", "ля",  "ля#", "си"};

bool isMidiNote(int32_t note) {
    return note >= 0 && note <= 127;
}

std::string describeIntervals(const std::vector<int32_t>& notes, std::vector<int64_t>& steps) {
    std::string text;
    for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
        const int64_t step = int64_t{notes[i + 1]} - notes[i];
        steps.push_back(step);
        text += std::to_string(step);
        if (step <= 12) {
            text += '(';
            text += IntervalNames[step];
            text += ") ";
        } else {
            text += ' ';
        }
    }
    return text;
}
} // namespace

const char* intervalName(int semitones) {
    return IntervalNames[semitones];
}
const char* russianNoteName(int pitchClass) {
    return RussianNoteNames[pitchClass];
}

std::vector<int32_t> gatherHeldNotes(const KeyStates& keyStates) {
    std::vector<int32_t> notes;
    for (const KeyState& key : keyStates) {
        if (key.pressed != 0 && key.note != EmptyNote) {
            notes.push_back(key.note);
        }
    }
    return notes;
}

HeldNotesTexts describeHeldNotes(std::vector<int32_t> notes) {
    HeldNotesTexts texts;
    std::sort(notes.begin(), notes.end());
    if (notes.empty()) {
        return texts;
    }
    std::vector<int64_t> steps;
    texts.intervalText = describeIntervals(notes, steps);

    std::string russianNames;
    std::string rootName;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int32_t note = notes[i];
        if (!isMidiNote(note)) {
            continue;
        }
        if (i == 0) {
            rootName = RussianNoteNames[note % 12];
        }
        texts.heldNotesText += noteName(note) + " ";
        russianNames += RussianNoteNames[note % 12] + std::to_string(note / 12 - 2) + " ";
    }
    texts.heldNotesText += "(" + russianNames + ")";

    if (steps.size() == 2) {
        if (steps[0] == 3 && steps[1] == 4) {
            texts.triad = rootName + "-минор";
        } else if (steps[0] == 4 && steps[1] == 3) {
            texts.triad = rootName + "-мажор";
        }
    }
    if (!texts.triad.empty()) {
        texts.intervalText += "(" + texts.triad + ")";
    }
    return texts;
}

} // namespace ladoton
