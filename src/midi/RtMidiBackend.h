#pragma once

#include "midi/MidiBackend.h"

#include <memory>

class RtMidiOut;

namespace ladoton {

// The system's MIDI ports through RtMidi: the ALSA sequencer's output ports first,
// then the JACK MIDI input ports. A missing sequencer or JACK server just makes the
// list shorter.
class RtMidiBackend final : public MidiBackend {
public:
    RtMidiBackend();
    ~RtMidiBackend() override;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;

private:
    struct Port {
        RtMidiOut* api;
        unsigned number;
        std::string name;
    };
    std::vector<Port> ports();

    std::unique_ptr<RtMidiOut> alsa_;
    std::unique_ptr<RtMidiOut> jack_;
    RtMidiOut* open_ = nullptr;
};

} // namespace ladoton
