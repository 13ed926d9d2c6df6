#pragma once

#include "midi/MidiMessage.h"

#include <string>
#include <vector>

namespace ladoton {

// A list of MIDI output devices by index, of which at most one is open at a time.
class MidiBackend {
  public:
    virtual ~MidiBackend() = default;

    // The devices present now, in index order, by name.
    virtual std::vector<std::string> listDevices() = 0;
    // Opens device `index`; false when it cannot be opened (then none is open).
    virtual bool open(int index) = 0;
    // Sends to the open device; a failing send is not reported.
    virtual void send(const ShortMessage& message) = 0;
    virtual void close() = 0;
};

} // namespace ladoton
