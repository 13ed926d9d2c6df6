#include "keyboard/Announcements.h"

#include "melody/SpokenChord.h"

#include <algorithm>

namespace ladoton {

void Announcements::heldNotes(std::vector<int32_t> notes, uint32_t now) {
    std::sort(notes.begin(), notes.end());
    if (notes == held_) {
        return;
    }
    held_ = std::move(notes);
    chordWaiting_ = true;
    heldSince_ = now;
}

void Announcements::heldNotesUntold(std::vector<int32_t> notes) {
    std::sort(notes.begin(), notes.end());
    held_ = std::move(notes);
    told_ = held_;
    chordWaiting_ = false;
}

void Announcements::controlChanged(const std::string& label, const std::string& value,
                                   uint32_t now) {
    const auto same =
        std::find_if(controls_.begin(), controls_.end(),
                     [&label](const ControlNews& news) { return news.label == label; });
    if (same != controls_.end()) {
        same->value = value;
    } else {
        controls_.push_back({label, value});
    }
    controlsSince_ = now;
}

std::string Announcements::due(uint32_t now) {
    std::string spoken;
    if (!controls_.empty() && settled(controlsSince_, now)) {
        for (const ControlNews& news : controls_) {
            spoken += (spoken.empty() ? "" : ", ") + news.label + " " + news.value;
        }
        controls_.clear();
    }
    if (chordWaiting_ && settled(heldSince_, now)) {
        chordWaiting_ = false;
        if (held_ != told_) {
            told_ = held_;
            const std::string chord = spokenChord(held_);
            if (!chord.empty()) {
                spoken += (spoken.empty() ? "" : ". ") + chord;
            }
        }
    }
    return spoken;
}

} // namespace ladoton
