#pragma once

#include "midi/MidiMessage.h"

#include <array>
#include <bitset>

namespace ladoton {

// Which notes a synthesizer holds on, as the player's keys and pedals decide it, counted
// without asking the synthesizer (whose every query waits for its lock). A note is held from
// its note-on to its note-off, and after that while the sustain pedal (CC64) is down, or while
// the sostenuto pedal (CC66) is down that caught it with its key down. All notes off (CC123)
// lifts the keys, not the pedals; all sound off (CC120) ends every note; reset all
// controllers (CC121) lifts the pedals.
class NoteHolds {
  public:
    void apply(const ShortMessage& message);
    // The notes held on all channels.
    int count() const { return count_; }

  private:
    static constexpr int Channels = midi::Channels;
    static constexpr int Notes = 128;

    struct Channel {
        std::bitset<Notes> keys;      // key down
        std::bitset<Notes> sustained; // key up, held by the sustain pedal
        std::bitset<Notes> caught;    // caught by the sostenuto pedal while its key was down
        bool sustain = false;
        bool sostenuto = false;

        void press(int note);
        void release(int note);
        void control(int controller, int value);
        int held() const;
    };

    std::array<Channel, Channels> channels_{};
    std::array<int, Channels> held_{};
    int count_ = 0;
};

} // namespace ladoton
