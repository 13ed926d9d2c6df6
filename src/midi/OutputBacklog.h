#pragma once

#include "midi/MidiMessage.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace ladoton {

// What could not be handed to a device at once (its queue was full), kept until there is room
// so that nothing is lost that must be heard: every note-off, every pedal lifted and every
// all-notes-off, and the latest value of each controller, program, bend and pressure. A note-on
// is kept too, unless its note-off comes before it could go: then only the note-off goes.
//
// It takes no memory of its own beyond its tables, so a real-time thread may drain it.
class OutputBacklog {
  public:
    void add(const ShortMessage& message);
    bool empty() const { return count_ == 0; }

    // Hands the messages on in the order they must go: note-offs, then pedals lifted and notes
    // or sounds ended by a controller, then programs, the controllers' latest values, bend and
    // pressure, and last the note-ons. `write` answers false when there is no more room; what
    // was not written stays for the next drain.
    template <typename Write> void drain(Write write);

  private:
    static constexpr int Channels = midi::Channels;
    static constexpr int Numbers = 128; // notes and controllers

    struct Channel {
        std::bitset<Numbers> noteOffs;
        std::array<uint8_t, Numbers> noteOns{}; // the velocity; 0: none
        std::bitset<Numbers> ended;             // a pedal lifted, or notes or sounds ended
        std::array<std::optional<uint8_t>, Numbers> controllers{};
        std::array<std::optional<uint8_t>, Numbers> keyPressures{};
        std::optional<uint8_t> program;
        std::optional<uint8_t> channelPressure;
        std::optional<std::array<uint8_t, 2>> bend;
    };

    enum class Stage { NoteOffs, Endings, Programs, Controllers, Pressures, NoteOns, Done };
    // The message kept at `number` (a note or a controller; 0 for what a channel has one of)
    // of `stage`, or none.
    std::optional<ShortMessage> at(Stage stage, int channel, int number) const;
    void clear(Stage stage, int channel, int number);
    template <typename Value> void keep(std::optional<Value>& place, Value value);

    std::array<Channel, Channels> channels_{};
    int count_ = 0; // messages kept
};

template <typename Write> void OutputBacklog::drain(Write write) {
    for (auto stage = Stage::NoteOffs; stage != Stage::Done && count_ > 0;
         stage = static_cast<Stage>(static_cast<int>(stage) + 1)) {
        for (int channel = 0; channel < Channels; ++channel) {
            for (int number = 0; number < Numbers; ++number) {
                while (const std::optional<ShortMessage> message = at(stage, channel, number)) {
                    if (!write(*message)) {
                        return;
                    }
                    clear(stage, channel, number);
                }
            }
        }
    }
}

} // namespace ladoton
