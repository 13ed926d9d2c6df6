#pragma once

#include "midi/MidiBackend.h"

#include <memory>

class RtMidiOut;

namespace ladoton {

class JackServerWatch;

// The system's MIDI ports through RtMidi: the ALSA sequencer's output ports first, then the
// JACK MIDI input ports, each by its port name. A missing sequencer or JACK server just makes
// the list shorter; a JACK server that starts later is found at the next listing, and one that
// stops takes its ports along while later sends to them are dropped.
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
    struct Port {
        RtMidiOut* api;
        unsigned number;
        std::string name;
    };
    std::vector<Port> ports();
    void findApis();
    bool openPort(const Port& port);
    bool jackGone() const;
    void abandonJack();

    std::unique_ptr<RtMidiOut> alsa_;
    std::unique_ptr<JackServerWatch> jackWatch_;
    std::unique_ptr<RtMidiOut> jack_;
    RtMidiOut* open_ = nullptr;
};

} // namespace ladoton
