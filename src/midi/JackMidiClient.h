#pragma once

#include "midi/MidiMessage.h"

#include <jack/ringbuffer.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// libjack's own names.
struct _jack_client; // NOLINT(bugprone-reserved-identifier)
struct _jack_port;   // NOLINT(bugprone-reserved-identifier)

namespace ladoton {

// The program's one JACK client for MIDI, named "Ладотон": it lists the server's MIDI input
// ports, sends to one of them through an output port of its own, and tells whether the server
// it reached still runs (libjack calls it back from its own thread when the server goes away).
//
// The client takes part in the server's cycles only while a port is open, so an idle program
// costs the server nothing; it never starts a server. Sends go through a lock-free queue that
// the server's process thread empties each period; a full queue or a server that has gone
// drops them, so a send never waits.
class JackMidiClient {
  public:
    static constexpr const char* ClientName = "Ладотон";
    static constexpr const char* OutputPortName = "output";

    // Null when no JACK server runs.
    static std::unique_ptr<JackMidiClient> connect();
    ~JackMidiClient();
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    bool running() const { return running_.load(); }
    // The MIDI input ports of the server by full name ("client:port"), in the server's order.
    std::vector<std::string> inputPorts() const;
    bool hasPort(const std::string& name) const;

    // Connects the client's output port to `target`; false when that fails (then none is open).
    bool open(const std::string& target);
    // Opens the output port "Ладотон:output" for other programs or a patchbay to connect to,
    // also while notes are sent. The peers it had when it was last closed are connected again.
    bool openOwnPort();
    void send(const ShortMessage& message);
    // Delivers what is still queued (a few periods at most) and leaves the server's cycles.
    void close();
    bool isOpen() const { return port_ != nullptr; }

  private:
    explicit JackMidiClient(_jack_client* client);
    static int process(unsigned frames, void* self);
    static void onShutdown(int code, const char* reason, void* self);
    bool activatePort();
    std::vector<std::string> connectionsOfPort() const;
    void deliverQueued(unsigned frames);
    void waitUntilDelivered() const;

    _jack_client* client_;
    _jack_port* port_ = nullptr;
    jack_ringbuffer_t* queue_ = nullptr;
    std::mutex sending_;
    std::atomic<bool> running_{true};
    bool ownPortOpen_ = false;
    std::vector<std::string> ownPortPeers_;
};

} // namespace ladoton
