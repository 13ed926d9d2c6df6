#pragma once

#include "melody/RandomSequence.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ladoton {

// One recorded keystroke. Melody files hold these 20 bytes verbatim.
struct MelodyEvent {
    int32_t keyCode = 0;
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint8_t keyDown = 0; // non-zero: a press
    uint8_t filler[3] = {0, 0, 0};
    uint32_t time = 0; // millisecond tick count when recorded
};
static_assert(sizeof(MelodyEvent) == 20, "melody files store 20-byte records");
static_assert(offsetof(MelodyEvent, keyDown) == 12 && offsetof(MelodyEvent, time) == 16,
              "melody files fix the record layout");

inline MelodyEvent makeEvent(int32_t keyCode, uint8_t keyDown, uint32_t time) {
    MelodyEvent event;
    event.keyCode = keyCode;
    event.keyDown = keyDown;
    event.time = time;
    return event;
}

// The recorded melody: events in the order they were appended.
class Melody {
  public:
    // Grows the storage to count + max(count, 1) records when it is full.
    void append(const MelodyEvent& event);
    // Empties the melody; the storage is kept.
    void clear() { events_.clear(); }
    void replace(std::vector<MelodyEvent> events) { events_ = std::move(events); }

    std::size_t size() const { return events_.size(); }
    bool empty() const { return events_.empty(); }
    std::size_t capacity() const { return events_.capacity(); }
    const MelodyEvent& operator[](std::size_t index) const { return events_[index]; }
    const std::vector<MelodyEvent>& events() const { return events_; }

  private:
    std::vector<MelodyEvent> events_;
};

// Playback and metronome state.
struct PlaybackState {
    bool isPlaying = false;
    uint32_t playPosition = 0;  // index of the next event to replay
    uint32_t playStartTime = 0; // tick count at which the current pass began
    int32_t beatCount = 0;      // 0..3, never reset
    int32_t lastClickNote = 0;  // metronome note now sounding
    RandomSequence random;      // draws of the random instrument change
};

} // namespace ladoton
