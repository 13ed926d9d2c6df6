#pragma once

#include "midi/BackloggedSender.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class RtMidiOut;

namespace ladoton {

// Sends to an ALSA sequencer port through RtMidi, whose sends fail without waiting when the
// sequencer has no room in a burst: what fails waits in a BackloggedSender, and a thread of its
// own sends it again every few milliseconds until the sequencer has taken it all.
class AlsaOutputSender {
  public:
    AlsaOutputSender();
    ~AlsaOutputSender();
    AlsaOutputSender(const AlsaOutputSender&) = delete;
    AlsaOutputSender& operator=(const AlsaOutputSender&) = delete;

    // The output sent to from now on; null for none. What waited for the one before is dropped
    // with it.
    void setOutput(RtMidiOut* output);
    void send(const ShortMessage& message);

  private:
    bool trySend(const ShortMessage& message);
    void retryWhileWaiting();

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    RtMidiOut* output_ = nullptr;
    bool sendFailed_ = false;
    BackloggedSender sender_;
    std::thread retrier_;
};

} // namespace ladoton
