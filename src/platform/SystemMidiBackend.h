#pragma once

#include "midi/MidiBackend.h"

#include <QObject>

#include <functional>
#include <memory>

namespace ladoton {

class SystemMidiInput;

// The program's device list: the built-in synthesizer as device 0, then the ALSA sequencer's
// and the JACK MIDI ports.
//
// Two environment variables serve tests and measurements:
//   LADOTON_BUILTIN_SYNTH=0   leaves the built-in synthesizer out, so the first port is device 0;
//   LADOTON_SYNTH_AUDIO=jack  the synthesizer's audio drivers to try, comma-separated, instead
//                             of pipewire,pulseaudio,alsa,jack; one this machine lacks is
//                             reported on standard error with those it has.
class SystemMidiBackend final : public QObject, public MidiBackend {
    Q_OBJECT

  public:
    SystemMidiBackend();
    ~SystemMidiBackend() override;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;
    void prepareChannel(int channel) override;

    // The MIDI input, which shares the JACK client of the devices.
    SystemMidiInput& input() { return *input_; }

  signals:
    // The device opened at start could not be opened after all, or the built-in synthesizer
    // was opened but could not start (no audio output, or a SoundFont that does not load).
    // Delivered on the GUI thread.
    void startFailed();
    // The device chosen, a JACK port, is connected again after it or its server went away and
    // came back: it missed the program. Delivered on the GUI thread.
    void deviceReturned();

  private:
    void reportStartFailure();

    std::unique_ptr<SystemMidiInput> input_;
    std::unique_ptr<MidiBackend> devices_;
};

} // namespace ladoton
