#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ladoton {

enum class MidiSystem { Alsa, Jack };

// One entry of the system part of the device menu: another program's input port, or the
// program's own output port on a system, which other programs connect to themselves.
struct MidiPort {
    MidiSystem system;
    bool own;
    unsigned number; // index in the system's own list; 0 for an own port
    std::string name;
};

inline constexpr const char* OwnAlsaPortEntry = "Порт ALSA: Ладотон";
inline constexpr const char* OwnJackPortEntry = "Порт JACK: Ладотон";

// The ports of both systems, ALSA's first, then one own port for each system that is present.
// The own ports come last so that the index of every listed port is the same with them as
// without them. A system that is absent (nullopt) has neither ports nor an own port.
std::vector<MidiPort> listMidiPorts(const std::optional<std::vector<std::string>>& alsaPorts,
                                    const std::optional<std::vector<std::string>>& jackPorts);

} // namespace ladoton
