#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ladoton {

// What the window tells a screen reader, and when. The held notes are told once they have
// settled (no change for SettleMs), so a chord struck key by key or a fast run is one
// utterance, and never twice in a row for the same chord; a chord that was let go is told again
// when it is struck again. A control that the keys changed is told with its new value once its
// changes settle too, so a held Up is heard as the instrument it ends on.
class Announcements {
  public:
    static constexpr uint32_t SettleMs = 150;

    // The notes held now, as the user plays them: a change starts the wait for them to settle.
    void heldNotes(std::vector<int32_t> notes, uint32_t now);
    // The notes held now that nobody is to hear about (melody playback): they count as told.
    void heldNotesUntold(std::vector<int32_t> notes);
    // A control's new value, as "Октава 5"; a later value of the same control replaces it.
    void controlChanged(const std::string& label, const std::string& value, uint32_t now);

    // What has settled by now and is to be said: the controls first, then the chord; empty
    // when nothing is.
    std::string due(uint32_t now);
    // Something waits to settle: the clock must keep ticking.
    bool waiting() const { return chordWaiting_ || !controls_.empty(); }

  private:
    bool settled(uint32_t since, uint32_t now) const { return now - since >= SettleMs; }

    struct ControlNews {
        std::string label;
        std::string value;
    };
    std::vector<int32_t> held_;
    std::vector<int32_t> told_;
    bool chordWaiting_ = false;
    uint32_t heldSince_ = 0;
    std::vector<ControlNews> controls_;
    uint32_t controlsSince_ = 0;
};

} // namespace ladoton
