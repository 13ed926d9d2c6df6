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
    // What an open leaves that may take long (reading a SoundFont), made after a successful
    // `open` on a thread of the caller's, while what is sent waits; false when it failed, and
    // then the device is as if it had not opened. Most devices have nothing left.
    virtual bool finishOpen() { return true; }
    // Channel `channel` (1 to 16) is about to be played: a device that must read something
    // for it first (the built-in synthesizer's drum kit) starts now, so that the first note
    // does not wait. Cheap when there is nothing to do, as it is repeated while it applies.
    virtual void prepareChannel(int /*channel*/) {}
};

} // namespace ladoton
