#pragma once

#include "midi/InputQueue.h"
#include "midi/MidiVocabulary.h"
#include "ports/JackClientOpener.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// libjack's own names.
struct _jack_client; // NOLINT(bugprone-reserved-identifier)
struct _jack_port;   // NOLINT(bugprone-reserved-identifier)

namespace ladoton {

class JackAudioOutput;
class JackMidiInput;
class JackMidiOutput;

// A part of the program's JACK client with ports of its own. The client calls its parts on
// these occasions; all but `process` and `connectionChanged` under the client's request lock.
class JackPart {
  public:
    virtual ~JackPart() = default;
    // A server was reached again after one went away: the part registers the ports it had.
    virtual void attach(_jack_client* client) = 0;
    // The server went away: its ports are gone and must not be touched again. The part keeps
    // what it was asked for, to have it again on the next server.
    virtual void detach() = 0;
    // Ports came or went, or the client joined the server's cycles: the connections the part
    // was asked for and does not have are made where both ends are there.
    virtual void connectWished(_jack_client* client) = 0;
    // On the server's process thread, each period: nothing here may wait or allocate.
    virtual void process(unsigned frames) = 0;
    // Whether the part has ports now, and so needs the client in the server's cycles.
    virtual bool hasPorts() const = 0;
    // A connection from `from` to `to` was made or taken away (on a thread of libjack's, which
    // must not wait for the request lock).
    virtual void connectionChanged(_jack_port* /*from*/, _jack_port* /*to*/, bool /*made*/) {}
};

// The program's one JACK client, "Ладотон", for the whole run. Its parts are the MIDI output
// port, the MIDI input port (when the program has an input) and the built-in synthesizer's
// audio ports, so that JACK wakes one client of the program each period. It never starts a
// server, and takes part in the server's cycles only while it has a port.
//
// A server that goes away (it says so, or, while the client takes part in its cycles, no cycle
// comes for a while: libjack does not always notice a server that was stopped) takes the ports
// along, quietly; the input is told its source is lost. Once a server has been reached, one that
// runs again is looked for twice a second: its parts register their ports again, and connect
// them as they were asked to, each as soon as the port at the other end appears.
class JackClient {
  public:
    static constexpr const char* Name = midi::ClientName;

    // What the input port receives, and whom to tell.
    struct Input {
        InputQueue& queue;
        InputWakeup& wakeup;
    };

    explicit JackClient(std::optional<Input> input = std::nullopt);
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    JackMidiOutput& midiOutput() { return *midiOutput_; }
    JackAudioOutput& audioOutput() { return *audioOutput_; }
    // Null without an input.
    JackMidiInput* midiInput() { return midiInput_.get(); }

    // Reaches for a server now if none is reached; false when none runs.
    bool reach();
    bool running() const;
    // Other clients' ports of a type (JACK_DEFAULT_MIDI_TYPE, ...) with `flags` (JackPortIsInput
    // or JackPortIsOutput), by full name, in the server's order.
    std::vector<std::string> otherPorts(const char* type, unsigned long flags) const;
    unsigned sampleRate() const;

    // Requests to libjack are made one at a time: the threads that use the client (the
    // window's, the device's opener, the input's starter, the client's own watcher) share one
    // socket, on which libjack answers two requests crossed. `request` gets the client, null
    // while no server is reached.
    template <typename Request> auto withClient(Request request) const {
        const std::lock_guard lock(requests_);
        return request(running() ? client_ : nullptr);
    }
    // After a part registered or unregistered a port: the client joins or leaves the server's
    // cycles as its parts need, and connects what they wish. Under the request lock.
    void portsUpdated();
    // Waits until no cycle that may still use a port being taken away is under way.
    void waitForCycle() const;
    // Whether the full port name `name` is one of the program's own ports.
    bool isOwnPort(std::string_view name) const;

  private:
    static int process(unsigned frames, void* self);
    static void onShutdown(int code, const char* reason, void* self);
    static void onConnection(unsigned from, unsigned to, int connected, void* self);
    static void onRegistration(unsigned port, int registered, void* self);
    bool open();
    bool install(_jack_client* client);
    void lose();
    void watch();
    void wakeWatcher() const;
    void noticeStall() const;
    bool activate(bool wanted);

    std::unique_ptr<JackMidiOutput> midiOutput_;
    std::unique_ptr<JackAudioOutput> audioOutput_;
    std::unique_ptr<JackMidiInput> midiInput_;
    std::vector<JackPart*> parts_;

    mutable std::recursive_mutex requests_;
    _jack_client* client_ = nullptr;
    mutable std::atomic<bool> running_{false};
    std::atomic<bool> active_{false};
    std::atomic<unsigned> cycles_{0};
    std::atomic<int64_t> lastCycleMs_{0}; // on the steady clock
    std::atomic<bool> lookingForServer_{false};
    int64_t lostAtMs_ = 0; // under the request lock
    JackClientOpener opener_{Name};

    mutable std::mutex watching_;
    mutable std::condition_variable watcherWake_;
    mutable bool woken_ = false;
    bool stopping_ = false;
    std::thread watcher_;
};

} // namespace ladoton
