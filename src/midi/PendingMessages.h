#pragma once

#include "midi/MidiMessage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ladoton {

// What a device that is still starting has been sent, reduced to what must still be heard
// once it is ready: the last program of each channel and the notes still held. A note that
// was pressed and released while the device was starting is left out, so nothing sounds
// late and nothing is left sounding.
class PendingMessages {
  public:
    void add(const ShortMessage& message);
    // The programs first, then a note-on for each held note, by channel and note.
    std::vector<ShortMessage> replay() const;
    void clear();

  private:
    static constexpr int Channels = 16;
    static constexpr int Notes = 128;

    std::array<std::optional<uint8_t>, Channels> programs_{};
    // The velocity of each held note, 0 while the note is not held.
    std::array<std::array<uint8_t, Notes>, Channels> held_{};
};

} // namespace ladoton
