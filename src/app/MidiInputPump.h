#pragma once

#include "midi/InputStream.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace ladoton {

class Keyboard;
class SystemMidiInput;

// Hands what the MIDI input receives to the keyboard as soon as it arrives, on the window's
// thread. A flood is taken in portions, with the window's own events in between, so that
// the window keeps answering. While the input holds notes, a JACK server that stops without a
// word is looked for once a second, so that its notes still end.
class MidiInputPump : public QObject, private InputReceiver {
  public:
    MidiInputPump(SystemMidiInput& input, Keyboard& keyboard, QObject* parent = nullptr);

  private:
    void takeArrived();
    void receive(const ShortMessage& message) override;
    void lost() override;
    bool inputHoldsNotes() const;

    SystemMidiInput& input_;
    Keyboard& keyboard_;
    QSocketNotifier notifier_;
    QTimer serverCheck_;
};

} // namespace ladoton
