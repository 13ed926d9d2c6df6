#pragma once

#include "midi/InputQueue.h"
#include "ports/JackClient.h"

#include <atomic>
#include <string>
#include <vector>

namespace ladoton {

// The MIDI input port "Ладотон:input" of the program's JACK client, which other programs'
// output ports connect to; it is there whenever a server runs. What arrives is copied to the
// input's queue on the server's process thread, and the window's thread is woken. A source
// chosen here that goes away, or whose server does, is a lost source; it is connected again
// as soon as it is there again.
class JackMidiInput final : public JackPart {
  public:
    static constexpr const char* PortName = "input";

    JackMidiInput(JackClient& client, InputQueue& queue, InputWakeup& wakeup)
        : client_(client), queue_(queue), wakeup_(wakeup) {}

    // The MIDI output ports of other programs by full name: the sources to choose from.
    std::vector<std::string> sources() const;
    // Connects `source` to the input port and keeps it connected; false when it cannot be.
    bool connectSource(const std::string& source);
    // Takes the connection away, and lets the source be.
    void disconnectSource(const std::string& source);

  private:
    void attach(_jack_client* client) override;
    void detach() override;
    void connectWished(_jack_client* client) override;
    void process(unsigned frames) override;
    bool hasPorts() const override { return port_.load() != nullptr; }
    void connectionChanged(_jack_port* from, _jack_port* to, bool made) override;
    void lose();

    JackClient& client_;
    InputQueue& queue_;
    InputWakeup& wakeup_;
    std::atomic<_jack_port*> port_{nullptr};
    // Under the client's request lock:
    std::string source_;
    bool sourceAway_ = false; // connect the source when its port is there again
};

} // namespace ladoton
