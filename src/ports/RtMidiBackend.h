#pragma once

#include "midi/MidiBackend.h"
#include "ports/AlsaOutputSender.h"
#include "ports/MidiPortList.h"

#include <memory>

class RtMidiOut;

namespace ladoton {

class JackClient;

// The system's MIDI ports: the ALSA sequencer's output ports first (through RtMidi), then the
// JACK MIDI input ports (through the program's one JACK client), each by its port name. A
// missing sequencer or JACK server just makes the list shorter; a JACK server that starts later
// is found at the next listing, and one that stops takes its ports along while later sends to
// them are dropped. After them come the program's own output ports, one for each system present,
// which other programs connect to.
class RtMidiBackend final : public MidiBackend {
  public:
    // The JACK client comes from `jack`, shared with the MIDI input; without one the backend
    // has a client of its own.
    explicit RtMidiBackend(std::shared_ptr<JackClient> jack = nullptr);
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;

  private:
    std::vector<MidiPort> ports();
    void findSystems();
    bool openPort(const MidiPort& port);
    bool openAlsaPort(unsigned number);
    bool openOwnAlsaPort();
    RtMidiOut* openAlsaOutput() const;

    std::unique_ptr<RtMidiOut> alsa_;
    // The own ALSA port stays once made, silent while another device is chosen, so that the
    // connections other programs made to it last until the program ends.
    std::unique_ptr<RtMidiOut> ownAlsa_;
    bool ownAlsaOpen_ = false;
    std::shared_ptr<JackClient> jack_;
    bool jackPresent_ = false; // at the last listing
    bool jackOpen_ = false;
    bool alsaOpen_ = false;
    // The last member: it stops sending before the outputs go.
    AlsaOutputSender alsaSender_;
};

} // namespace ladoton
