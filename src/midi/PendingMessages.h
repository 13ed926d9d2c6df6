#pragma once

#include "midi/MidiMessage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ladoton {

// What a device that is still starting has been sent, reduced to what must still be heard
// once it is ready: for each channel its last bank and program, the latest value of every
// controller and pedal, the parameters set through data entry (RPN and NRPN, such as the
// pitch bend range), the latest pitch bend and channel pressure, and the notes still held. A
// note that was pressed and released while the device was starting is left out, so nothing
// sounds late and nothing is left sounding.
class PendingMessages {
  public:
    void add(const ShortMessage& message);
    // In an order that leaves the device as the messages themselves would have: banks, then
    // programs, controllers, parameters, pitch bend and pressure, then a note-on for each held
    // note, and last the sostenuto pedal, which holds the notes that are down when it goes down.
    std::vector<ShortMessage> replay() const;
    void clear();

  private:
    static constexpr int Channels = midi::Channels;
    static constexpr int Notes = 128;

    // A parameter chosen by its two selection controllers and set by data entry.
    struct Parameter {
        bool registered = true;
        uint8_t msb = 0;
        uint8_t lsb = 0;
        std::optional<uint8_t> dataMsb;
        std::optional<uint8_t> dataLsb;
    };
    // The selection controllers' latest values: which parameter data entry sets.
    struct Selection {
        std::optional<uint8_t> msb;
        std::optional<uint8_t> lsb;
    };

    struct Channel {
        std::optional<uint8_t> program;
        // The latest message of each controller, by controller number (a mode message pair,
        // omni off/on and mono/poly, kept under its first number).
        std::array<std::optional<ShortMessage>, 128> controllers{};
        std::vector<Parameter> parameters;
        Selection registered;
        Selection unregistered;
        bool unregisteredSelected = false;
        std::optional<ShortMessage> bend;
        std::optional<ShortMessage> pressure;
        // The velocity of each held note, 0 while the note is not held.
        std::array<uint8_t, Notes> held{};
    };

    static void control(Channel& channel, const ShortMessage& message);
    static void select(Channel& channel, int controller, uint8_t value);
    static void enterData(Channel& channel, int controller, uint8_t value);
    static void resetControllers(Channel& channel);
    static void appendParameters(const Channel& channel, uint8_t status,
                                 std::vector<ShortMessage>& messages);

    std::array<Channel, Channels> channels_{};
};

} // namespace ladoton
