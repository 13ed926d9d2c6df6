#include "midi/OutputBacklog.h"

#include "midi/MidiVocabulary.h"

namespace ladoton {

namespace {

using namespace midi;

// Controllers that end what sounds: all sound off, reset all controllers, all notes off.
bool endsNotes(int controller) {
    return controller == AllSoundOff || controller == ResetAllControllers ||
           controller == AllNotesOff;
}
// Sustain, portamento, sostenuto, soft, legato and hold 2: switches, off below 64.
bool isPedal(int controller) {
    return controller >= SustainPedal && controller <= SustainPedal + 5;
}

ShortMessage message(uint8_t kind, int channel, int data1, int data2, std::size_t size = 3) {
    return {{static_cast<uint8_t>(kind | channel), static_cast<uint8_t>(data1),
             static_cast<uint8_t>(data2)},
            size};
}

} // namespace

template <typename Value> void OutputBacklog::keep(std::optional<Value>& place, Value value) {
    if (!place) {
        ++count_;
    }
    place = value;
}

void OutputBacklog::add(const ShortMessage& sent) {
    if (sent.size < 2 || !isChannelStatus(sent.bytes[0])) {
        return;
    }
    Channel& channel = channels_[sent.channelIndex()];
    const uint8_t kind = sent.kind();
    const uint8_t data1 = sent.data1();
    const uint8_t data2 = sent.data2();
    if (kind == NoteOn && data2 > 0) {
        count_ += channel.noteOns[data1] == 0 ? 1 : 0;
        channel.noteOns[data1] = data2;
    } else if (kind == NoteOn || kind == NoteOff) {
        if (channel.noteOns[data1] != 0) { // never heard: only its end goes
            channel.noteOns[data1] = 0;
            --count_;
        }
        if (!channel.noteOffs[data1]) {
            channel.noteOffs[data1] = true;
            ++count_;
        }
    } else if (kind == ControlChange &&
               (endsNotes(data1) || (isPedal(data1) && data2 < PedalDown))) {
        if (endsNotes(data1)) {
            for (uint8_t& velocity : channel.noteOns) {
                count_ -= velocity != 0 ? 1 : 0;
                velocity = 0;
            }
        }
        if (!channel.ended[data1]) {
            channel.ended[data1] = true;
            ++count_;
        }
        // The lift goes first; a later value of a pedal, pressed again, after it.
        if (channel.controllers[data1]) {
            channel.controllers[data1].reset();
            --count_;
        }
    } else if (kind == ControlChange) {
        keep(channel.controllers[data1], data2);
    } else if (kind == ProgramChange) {
        keep(channel.program, data1);
    } else if (kind == ChannelPressure) {
        keep(channel.channelPressure, data1);
    } else if (kind == KeyPressure) {
        keep(channel.keyPressures[data1], data2);
    } else if (kind == PitchBend) {
        keep(channel.bend, std::array<uint8_t, 2>{data1, data2});
    }
}

std::optional<ShortMessage> OutputBacklog::at(Stage stage, int channelNumber, int number) const {
    const Channel& channel = channels_[static_cast<std::size_t>(channelNumber)];
    const auto n = static_cast<std::size_t>(number);
    switch (stage) {
    case Stage::NoteOffs:
        return channel.noteOffs[n] ? std::optional(message(NoteOn, channelNumber, number, 0))
                                   : std::nullopt;
    case Stage::Endings:
        return channel.ended[n] ? std::optional(message(ControlChange, channelNumber, number, 0))
                                : std::nullopt;
    case Stage::Programs:
        return number == 0 && channel.program
                   ? std::optional(message(ProgramChange, channelNumber, *channel.program, 0, 2))
                   : std::nullopt;
    case Stage::Controllers:
        return channel.controllers[n] ? std::optional(message(ControlChange, channelNumber, number,
                                                              *channel.controllers[n]))
                                      : std::nullopt;
    case Stage::Pressures:
        if (channel.keyPressures[n]) {
            return message(KeyPressure, channelNumber, number, *channel.keyPressures[n]);
        }
        if (number == Numbers - 1 && channel.channelPressure) {
            return message(ChannelPressure, channelNumber, *channel.channelPressure, 0, 2);
        }
        if (number == Numbers - 1 && channel.bend) {
            return message(PitchBend, channelNumber, (*channel.bend)[0], (*channel.bend)[1]);
        }
        return std::nullopt;
    case Stage::NoteOns:
        return channel.noteOns[n] != 0
                   ? std::optional(message(NoteOn, channelNumber, number, channel.noteOns[n]))
                   : std::nullopt;
    case Stage::Done:
        break;
    }
    return std::nullopt;
}

void OutputBacklog::clear(Stage stage, int channelNumber, int number) {
    Channel& channel = channels_[static_cast<std::size_t>(channelNumber)];
    const auto n = static_cast<std::size_t>(number);
    count_ -= stage != Stage::Done ? 1 : 0;
    switch (stage) {
    case Stage::NoteOffs:
        channel.noteOffs[n] = false;
        break;
    case Stage::Endings:
        channel.ended[n] = false;
        break;
    case Stage::Programs:
        channel.program.reset();
        break;
    case Stage::Controllers:
        channel.controllers[n].reset();
        break;
    case Stage::Pressures:
        if (channel.keyPressures[n]) {
            channel.keyPressures[n].reset();
        } else if (channel.channelPressure) {
            channel.channelPressure.reset();
        } else {
            channel.bend.reset();
        }
        break;
    case Stage::NoteOns:
        channel.noteOns[n] = 0;
        break;
    case Stage::Done:
        break;
    }
}

} // namespace ladoton
