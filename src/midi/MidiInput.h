#pragma once

#include <string>
#include <vector>

namespace ladoton {

// The program's MIDI input ports and the one source chosen for them.
class MidiInput {
  public:
    virtual ~MidiInput() = default;

    // The ports a source may be chosen from, by name.
    virtual std::vector<std::string> listSources() = 0;
    // Connects `name` to the input and takes the previous choice's connection away; an empty
    // name chooses none. False when `name` cannot be connected: then none is chosen.
    virtual bool chooseSource(const std::string& name) = 0;
    virtual std::string chosenSource() = 0;
};

} // namespace ladoton
