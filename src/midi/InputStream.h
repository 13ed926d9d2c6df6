#pragma once

#include "midi/InputQueue.h"
#include "midi/MidiInputParser.h"

#include <cstddef>

namespace ladoton {

// Where the messages of a MIDI input go, on the window's thread.
class InputReceiver {
  public:
    virtual ~InputReceiver() = default;
    virtual void receive(const ShortMessage& message) = 0;
    // Messages of the source may have been lost here (dropped by a full queue, or the source
    // went away): whatever it holds must be ended.
    virtual void lost() = 0;
};

// One system's MIDI input: the queue its thread fills, and the framing of what it holds into
// messages for the window's thread.
class InputStream {
  public:
    explicit InputStream(std::size_t capacity = std::size_t{1} << 16) : queue_(capacity) {}

    InputQueue& queue() { return queue_; }
    // Hands what is queued to `receiver`, at most `limit` bytes of it; true when more waits.
    bool read(InputReceiver& receiver, std::size_t limit);

  private:
    bool tellLoss(InputReceiver& receiver);

    InputQueue queue_;
    MidiInputParser parser_;
};

} // namespace ladoton
