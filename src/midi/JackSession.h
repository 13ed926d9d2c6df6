#pragma once

#include "midi/JackMidiClient.h"

#include <memory>
#include <mutex>
#include <optional>

namespace ladoton {

// The program's one JACK client, shared by the MIDI output and the MIDI input, so that both
// ports belong to the client "Ладотон". A client whose server has stopped is let go, and a
// server running again gets a new client at the next call.
class JackSession {
  public:
    // Without an input the client has no input port.
    explicit JackSession(std::optional<JackMidiClient::Input> input = std::nullopt)
        : input_(input) {}

    // The client of the server running now; null when none runs. A client whose server has
    // stopped is closed first, whoever else still holds it.
    std::shared_ptr<JackMidiClient> client();
    // The client made last, running or not, without reaching for a server; may be null.
    std::shared_ptr<JackMidiClient> lastClient();

  private:
    std::mutex mutex_;
    std::optional<JackMidiClient::Input> input_;
    std::shared_ptr<JackMidiClient> client_;
};

} // namespace ladoton
