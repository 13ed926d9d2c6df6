#pragma once

#include "midi/InputStream.h"

#include <QObject>
#include <QSocketNotifier>

namespace ladoton {

class Keyboard;
class SystemMidiInput;

// Hands what the MIDI input receives to the keyboard as soon as it arrives, on the window's
// thread. A flood is taken in portions, with the window's own events in between, so that
// the window keeps answering.
class MidiInputPump : public QObject, private InputReceiver {
  public:
    MidiInputPump(SystemMidiInput& input, Keyboard& keyboard, QObject* parent = nullptr);

  private:
    void takeArrived();
    void receive(const ShortMessage& message) override;
    void lost() override;

    SystemMidiInput& input_;
    Keyboard& keyboard_;
    QSocketNotifier notifier_;
};

} // namespace ladoton
