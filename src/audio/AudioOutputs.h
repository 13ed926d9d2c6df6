#pragma once

#include "audio/SynthOutput.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ladoton {

// One audio output the built-in synthesizer can play on, a row of the table of them: its name
// (as LADOTON_SYNTH_AUDIO names it), whether this machine has it, and how to open it (nullptr
// when it does not open).
struct AudioOutput {
    std::string name;
    std::function<bool()> available;
    std::function<std::unique_ptr<SynthOutput>()> open;
};
using AudioOutputs = std::vector<AudioOutput>;

// The outputs tried, in this order, when none are named: the desktop's own PipeWire stream,
// then a PulseAudio daemon, then the sound card, then a JACK server.
std::vector<std::string> defaultAudioDrivers();

// Opens the first output of `wanted` that the table has, this machine has and that opens;
// nullptr when none does. When `named` (the user named them), the wanted outputs this machine
// lacks are told to `tell`, with those it has.
std::unique_ptr<SynthOutput>
openFirstAudioOutput(const AudioOutputs& table, const std::vector<std::string>& wanted, bool named,
                     const std::function<void(const std::string&)>& tell);

} // namespace ladoton
