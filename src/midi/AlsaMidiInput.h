#pragma once

#include "midi/InputQueue.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

struct _snd_seq;       // NOLINT(bugprone-reserved-identifier): alsa-lib's own name
struct snd_midi_event; // alsa-lib's own name

namespace ladoton {

// The program's ALSA sequencer input: the client "Ладотон" with the writable port "input",
// which other clients' readable ports are connected to. A thread of its own reads what
// arrives, turns the channel messages back into bytes for the input's queue and wakes the
// window's thread; a connection to the port that goes away (a keyboard unplugged, a program
// ending) is reported as a lost source.
class AlsaMidiInput {
  public:
    static constexpr const char* ClientName = "Ладотон";
    static constexpr const char* PortName = "input";

    // Null when there is no sequencer.
    static std::unique_ptr<AlsaMidiInput> open(InputQueue& queue, InputWakeup& wakeup);
    ~AlsaMidiInput();
    AlsaMidiInput(const AlsaMidiInput&) = delete;
    AlsaMidiInput& operator=(const AlsaMidiInput&) = delete;

    // The readable ports of other programs and devices, as "client:port" by their names.
    std::vector<std::string> sourcePorts() const;
    bool connectSource(const std::string& source);
    void disconnectSource(const std::string& source);

  private:
    struct Address {
        int client;
        int port;
    };

    AlsaMidiInput(_snd_seq* sequencer, int port, InputQueue& queue, InputWakeup& wakeup);
    template <typename Visit> void forEachSource(Visit visit) const;
    bool findSource(const std::string& source, Address& address) const;
    bool subscribe(const Address& source, bool connect);
    void run();
    void readEvents(snd_midi_event* decoder);

    _snd_seq* sequencer_;
    int port_;
    int ownClient_;
    InputQueue& queue_;
    InputWakeup& wakeup_;
    int stopFd_;
    std::thread reader_;
};

} // namespace ladoton
