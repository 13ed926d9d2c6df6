#include "midi/PendingMessages.h"

#include "midi/MidiVocabulary.h"

#include <algorithm>

namespace ladoton {

namespace {

using namespace midi;

constexpr uint8_t NullParameter = 127;
// More parameters than a device's set-up sends are not kept: the oldest go.
constexpr std::size_t MostParameters = 32;

// Where a controller's latest message is kept: the two messages of a mode pair share a place,
// the later replacing the earlier.
int slotOf(int controller) {
    return controller == OmniOff + 1 || controller == MonoOn + 1 ? controller - 1 : controller;
}

// The controllers that reset all controllers leaves alone, as General MIDI devices and
// FluidSynth do: bank, volume, balance, pan, the sound controllers and the effects' depths.
bool keptByReset(int controller) {
    constexpr std::array kept{BankMsb, BankLsb, 7, 39, 8, 40, 10, 42};
    return std::find(kept.begin(), kept.end(), controller) != kept.end() ||
           (controller >= 70 && controller <= 79) || (controller >= 91 && controller <= 95) ||
           controller >= AllSoundOff;
}

ShortMessage controlMessage(uint8_t status, int controller, uint8_t value) {
    return {{status, static_cast<uint8_t>(controller), value}, 3};
}

} // namespace

void PendingMessages::add(const ShortMessage& message) {
    Channel& channel = channels_[message.channelIndex()];
    const uint8_t data1 = message.data1();
    const uint8_t data2 = message.data2();
    switch (message.kind()) {
    case NoteOn:
        if (message.size >= 3) {
            channel.held[data1] = data2;
        }
        break;
    case NoteOff:
        channel.held[data1] = 0;
        break;
    case ControlChange:
        if (message.size >= 3) {
            control(channel, message);
        }
        break;
    case ProgramChange:
        if (message.size >= 2) {
            channel.program = data1;
        }
        break;
    case ChannelPressure:
        if (message.size >= 2) {
            channel.pressure = message;
        }
        break;
    case PitchBend:
        if (message.size >= 3) {
            channel.bend = message;
        }
        break;
    default:
        break;
    }
}

void PendingMessages::control(Channel& channel, const ShortMessage& message) {
    const int controller = message.data1();
    const uint8_t value = message.data2();
    switch (controller) {
    case UnregisteredLsb:
    case UnregisteredMsb:
    case RegisteredLsb:
    case RegisteredMsb:
        select(channel, controller, value);
        break;
    case DataEntryMsb:
    case DataEntryLsb:
        enterData(channel, controller, value);
        break;
    case DataIncrement:
    case DataDecrement:
        // A step has no value to keep; FluidSynth ignores steps anyway.
        break;
    case AllSoundOff:
    case AllNotesOff:
        channel.held.fill(0);
        break;
    case ResetAllControllers:
        resetControllers(channel);
        break;
    default:
        channel.controllers[slotOf(controller)] = message;
        break;
    }
}

void PendingMessages::select(Channel& channel, int controller, uint8_t value) {
    const bool unregistered = controller == UnregisteredLsb || controller == UnregisteredMsb;
    Selection& selection = unregistered ? channel.unregistered : channel.registered;
    if (controller == UnregisteredMsb || controller == RegisteredMsb) {
        selection.msb = value;
    } else {
        selection.lsb = value;
    }
    channel.unregisteredSelected = unregistered;
}

void PendingMessages::enterData(Channel& channel, int controller, uint8_t value) {
    const Selection& selection =
        channel.unregisteredSelected ? channel.unregistered : channel.registered;
    if (!selection.msb || !selection.lsb ||
        (*selection.msb == NullParameter && *selection.lsb == NullParameter)) {
        return; // no parameter chosen: the device ignores it
    }
    const bool registered = !channel.unregisteredSelected;
    auto& parameters = channel.parameters;
    auto parameter = std::find_if(parameters.begin(), parameters.end(), [&](const Parameter& p) {
        return p.registered == registered && p.msb == *selection.msb && p.lsb == *selection.lsb;
    });
    if (parameter == parameters.end()) {
        if (parameters.size() == MostParameters) {
            parameters.erase(parameters.begin());
        }
        parameters.push_back({registered, *selection.msb, *selection.lsb, {}, {}});
        parameter = parameters.end() - 1;
    }
    (controller == DataEntryMsb ? parameter->dataMsb : parameter->dataLsb) = value;
}

void PendingMessages::resetControllers(Channel& channel) {
    for (int controller = 0; controller < AllSoundOff; ++controller) {
        if (!keptByReset(controller)) {
            channel.controllers[controller].reset();
        }
    }
    // The parameters' values stay; only the choice of one is reset, to none, as at the start.
    channel.registered = {};
    channel.unregistered = {};
    channel.unregisteredSelected = false;
    channel.bend.reset();
    channel.pressure.reset();
}

void PendingMessages::appendParameters(const Channel& channel, uint8_t status,
                                       std::vector<ShortMessage>& messages) {
    for (const Parameter& parameter : channel.parameters) {
        const int msb = parameter.registered ? RegisteredMsb : UnregisteredMsb;
        const int lsb = parameter.registered ? RegisteredLsb : UnregisteredLsb;
        messages.push_back(controlMessage(status, msb, parameter.msb));
        messages.push_back(controlMessage(status, lsb, parameter.lsb));
        // FluidSynth, as many devices, acts on the MSB, with the LSB it already has.
        if (parameter.dataLsb) {
            messages.push_back(controlMessage(status, DataEntryLsb, *parameter.dataLsb));
        }
        if (parameter.dataMsb) {
            messages.push_back(controlMessage(status, DataEntryMsb, *parameter.dataMsb));
        }
    }
    // Then the choice the sender left, the one chosen last at the end: none, where the
    // parameters were chosen before a reset.
    Selection registered = channel.registered;
    if (!channel.parameters.empty() && !registered.msb && !registered.lsb) {
        registered = {NullParameter, NullParameter};
    }
    auto appendSelection = [&](const Selection& selection, int msb, int lsb) {
        if (selection.msb) {
            messages.push_back(controlMessage(status, msb, *selection.msb));
        }
        if (selection.lsb) {
            messages.push_back(controlMessage(status, lsb, *selection.lsb));
        }
    };
    if (channel.unregisteredSelected) {
        appendSelection(registered, RegisteredMsb, RegisteredLsb);
        appendSelection(channel.unregistered, UnregisteredMsb, UnregisteredLsb);
    } else {
        appendSelection(channel.unregistered, UnregisteredMsb, UnregisteredLsb);
        appendSelection(registered, RegisteredMsb, RegisteredLsb);
    }
}

std::vector<ShortMessage> PendingMessages::replay() const {
    std::vector<ShortMessage> messages;
    auto forEachChannel = [&](auto append) {
        for (int index = 0; index < Channels; ++index) {
            append(channels_[index], static_cast<uint8_t>(index));
        }
    };
    forEachChannel([&](const Channel& channel, uint8_t) {
        for (const int bank : {BankMsb, BankLsb}) {
            if (channel.controllers[bank]) {
                messages.push_back(*channel.controllers[bank]);
            }
        }
    });
    forEachChannel([&](const Channel& channel, uint8_t index) {
        if (channel.program) {
            const auto status = static_cast<uint8_t>(ProgramChange | index);
            messages.push_back({{status, *channel.program, 0}, 2});
        }
    });
    forEachChannel([&](const Channel& channel, uint8_t) {
        for (int controller = 0; controller < 128; ++controller) {
            const bool elsewhere =
                controller == BankMsb || controller == BankLsb || controller == SostenutoPedal;
            if (!elsewhere && channel.controllers[controller]) {
                messages.push_back(*channel.controllers[controller]);
            }
        }
    });
    forEachChannel([&](const Channel& channel, uint8_t index) {
        appendParameters(channel, static_cast<uint8_t>(ControlChange | index), messages);
    });
    forEachChannel([&](const Channel& channel, uint8_t) {
        for (const auto& message : {channel.bend, channel.pressure}) {
            if (message) {
                messages.push_back(*message);
            }
        }
    });
    forEachChannel([&](const Channel& channel, uint8_t index) {
        for (int note = 0; note < Notes; ++note) {
            if (const uint8_t velocity = channel.held[note]; velocity != 0) {
                const auto status = static_cast<uint8_t>(NoteOn | index);
                messages.push_back({{status, static_cast<uint8_t>(note), velocity}, 3});
            }
        }
    });
    forEachChannel([&](const Channel& channel, uint8_t) {
        if (channel.controllers[SostenutoPedal]) {
            messages.push_back(*channel.controllers[SostenutoPedal]);
        }
    });
    return messages;
}

void PendingMessages::clear() {
    *this = PendingMessages{};
}

} // namespace ladoton
