#pragma once

#include "midi/MidiMessage.h"
#include "midi/OutputBacklog.h"
#include "ports/JackClient.h"

#include <jack/ringbuffer.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace ladoton {

// The MIDI output port "Ладотон:output" of the program's JACK client: connected to the device
// chosen (another program's input port), or left for other programs and patchbays to connect
// to (the program's own port).
//
// Sends go through a lock-free queue that the server's process thread empties each period, so
// a send never waits. What a burst brings beyond the queue's room is kept in an OutputBacklog,
// which the process thread drains after the queue: a note-off is never dropped. Sends while no
// server runs are dropped. When a server runs again, the port comes back; it is connected to
// the device, or to the peers the own port had, as soon as each appears. A device that goes
// away by itself is connected again when it comes back; a connection taken away from outside
// is left alone.
class JackMidiOutput final : public JackPart {
  public:
    static constexpr const char* PortName = "output";

    explicit JackMidiOutput(JackClient& client);
    ~JackMidiOutput() override;
    JackMidiOutput(const JackMidiOutput&) = delete;
    JackMidiOutput& operator=(const JackMidiOutput&) = delete;

    // Connects the port to `device`; false when that fails (then none is open).
    bool open(const std::string& device);
    // Opens the port for other programs or a patchbay to connect to, also while notes are
    // sent. The peers it had when it was last closed are connected again.
    bool openOwnPort();
    void send(const ShortMessage& message);
    // Delivers what is still queued (a few periods at most) and takes the port away.
    void close();

    // Called on the client's watcher thread each time the device, or a peer of the own port, is
    // connected again after it or its server went away: it missed what was sent before.
    void setOnReconnected(std::function<void()> onReconnected) {
        onReconnected_ = std::move(onReconnected);
    }

  private:
    enum class Wish { None, Device, OwnPort };

    void attach(_jack_client* client) override;
    void detach() override;
    void connectWished(_jack_client* client) override;
    void process(unsigned frames) override;
    bool hasPorts() const override { return port_.load() != nullptr; }
    void connectionChanged(_jack_port* from, _jack_port* to, bool made) override;

    bool registerPort(_jack_client* client);
    void unregisterPort(_jack_client* client);
    void reconnect(_jack_client* client, const std::string& peer);
    void deliverQueued(void* buffer);
    void drainBacklog(void* buffer);
    void waitUntilDelivered() const;
    void emptyQueue();
    void lockSending();
    void unlockSending() { sending_.clear(std::memory_order_release); }

    JackClient& client_;
    std::atomic<_jack_port*> port_{nullptr};
    jack_ringbuffer_t* queue_;
    // Held by the sending thread to queue, and tried by the process thread to drain the
    // backlog: a spin lock, which neither side ever waits on in the kernel.
    std::atomic_flag sending_ = ATOMIC_FLAG_INIT;
    OutputBacklog backlog_;
    std::atomic<bool> backlogged_{false};
    // The own port's peers as they come and go, followed on libjack's thread.
    std::mutex peersMutex_;
    std::vector<std::string> peers_;
    // Under the client's request lock:
    Wish wish_ = Wish::None;
    std::string device_;
    bool deviceAway_ = false;               // connect the device when its port is there again
    std::vector<std::string> ownPortPeers_; // the own port's peers when it was last closed
    std::vector<std::string> peersAway_;    // to connect when their ports are there again
    std::function<void()> onReconnected_;
};

} // namespace ladoton
