#pragma once

#include <string>
#include <vector>

namespace ladoton {

// The built-in synthesizer's audio outputs, in the order they are tried: the desktop's own
// PipeWire stream first, then a PulseAudio daemon, then the sound card, then a JACK server.
std::vector<std::string> defaultAudioDrivers();

struct AudioDriverChoice {
    std::vector<std::string> toTry;   // the wanted drivers this machine has, in the wanted order
    std::vector<std::string> missing; // the wanted drivers it lacks
};

AudioDriverChoice chooseAudioDrivers(const std::vector<std::string>& wanted,
                                     const std::vector<std::string>& available);

// The line for standard error naming the missing drivers and those there are instead.
std::string missingDriversMessage(const std::vector<std::string>& missing,
                                  const std::vector<std::string>& available);

} // namespace ladoton
