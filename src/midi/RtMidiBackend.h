#pragma once

#include "midi/MidiBackend.h"

#include <memory>

class RtMidiOut;

namespace ladoton {

class JackMidiClient;

// The system's MIDI ports: the ALSA sequencer's output ports first (through RtMidi), then the
// JACK MIDI input ports (through the program's one JACK client), each by its port name. A
// missing sequencer or JACK server just makes the list shorter; a JACK server that starts later
// is found at the next listing, and one that stops takes its ports along while later sends to
// them are dropped.
class RtMidiBackend final : public MidiBackend {
  public:
    RtMidiBackend();
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;

  private:
    enum class System { Alsa, Jack };
    struct Port {
        System system;
        unsigned number;
        std::string name;
    };
    std::vector<Port> ports();
    void findSystems();
    bool openPort(const Port& port);

    std::unique_ptr<RtMidiOut> alsa_;
    std::unique_ptr<JackMidiClient> jack_;
    bool alsaOpen_ = false;
};

} // namespace ladoton
