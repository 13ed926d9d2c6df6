#include "ports/MidiPortList.h"

namespace ladoton {

namespace {

void appendPorts(std::vector<MidiPort>& list, MidiSystem system,
                 const std::vector<std::string>& names) {
    unsigned number = 0;
    for (const std::string& name : names) {
        list.push_back({system, false, number++, name});
    }
}

} // namespace

std::vector<MidiPort> listMidiPorts(const std::optional<std::vector<std::string>>& alsaPorts,
                                    const std::optional<std::vector<std::string>>& jackPorts) {
    std::vector<MidiPort> list;
    if (alsaPorts) {
        appendPorts(list, MidiSystem::Alsa, *alsaPorts);
    }
    if (jackPorts) {
        appendPorts(list, MidiSystem::Jack, *jackPorts);
    }
    if (alsaPorts) {
        list.push_back({MidiSystem::Alsa, true, 0, OwnAlsaPortEntry});
    }
    if (jackPorts) {
        list.push_back({MidiSystem::Jack, true, 0, OwnJackPortEntry});
    }
    return list;
}

} // namespace ladoton
