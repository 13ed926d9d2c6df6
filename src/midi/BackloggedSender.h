#pragma once

#include "midi/MidiMessage.h"
#include "midi/OutputBacklog.h"

#include <functional>

namespace ladoton {

// A device whose sends can fail for want of room (the ALSA sequencer's output pool in a burst):
// what fails waits in an OutputBacklog, and goes before anything newer once the device takes
// messages again, so that no note-off is lost. Not thread-safe: its owner serialises the calls.
class BackloggedSender {
  public:
    // Sends one message; false when the device has no room for it now.
    using TrySend = std::function<bool(const ShortMessage&)>;

    explicit BackloggedSender(TrySend trySend) : trySend_(std::move(trySend)) {}

    void send(const ShortMessage& message);
    // Sends what waits, as far as the device takes it; true when nothing waits any more.
    bool retry();
    bool waiting() const { return !backlog_.empty(); }
    void clear() { backlog_ = OutputBacklog{}; }

  private:
    TrySend trySend_;
    OutputBacklog backlog_;
};

} // namespace ladoton
