#pragma once

#include "midi/InputQueue.h"
#include "midi/MidiMessage.h"

#include <jack/ringbuffer.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// libjack's own names.
struct _jack_client; // NOLINT(bugprone-reserved-identifier)
struct _jack_port;   // NOLINT(bugprone-reserved-identifier)

namespace ladoton {

// The program's one JACK client for MIDI, named "Ладотон": it lists the server's MIDI input
// ports, sends to one of them through an output port of its own, and tells whether the server
// it reached still runs (libjack calls it back from its own thread when the server goes away).
// With an input, it also has the input port "input", which other programs' output ports
// connect to; what arrives there is copied to the input's queue on the server's process thread.
//
// Without an input the client takes part in the server's cycles only while a port is open, so
// an idle program costs the server nothing; it never starts a server. Sends go through a
// lock-free queue that the server's process thread empties each period; a full queue or a
// server that has gone drops them, so a send never waits.
class JackMidiClient {
  public:
    static constexpr const char* ClientName = "Ладотон";
    static constexpr const char* OutputPortName = "output";
    static constexpr const char* InputPortName = "input";

    // What the input port receives, and whom to tell.
    struct Input {
        InputQueue& queue;
        // Told of a loss when a connection to the input port went away, or the server did.
        InputWakeup& wakeup;
    };

    // Renders the audio ports, on the server's process thread: nothing there may wait.
    class AudioSource {
      public:
        virtual ~AudioSource() = default;
        virtual void render(float* left, float* right, unsigned frames) = 0;
    };
    static constexpr const char* LeftPortName = "left";
    static constexpr const char* RightPortName = "right";

    // Null when no JACK server runs.
    static std::unique_ptr<JackMidiClient> connect(const Input* input = nullptr);
    ~JackMidiClient();
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    // False once the server has gone: it said so, or, while the client takes part in its
    // cycles, no cycle came for a while (libjack does not always notice a server that was
    // stopped). Then the input, if any, is told its source is lost.
    bool running() const;
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

    // The audio output ports "left" and "right", connected to the system's playback ports and
    // rendered by `source` every period until closeAudio; false when they cannot be made.
    bool openAudio(AudioSource& source);
    void closeAudio();
    unsigned sampleRate() const;
    // Closes the client of a server that has stopped at once, also while others still hold it:
    // libjack reaches a new server only once every client of the process is closed.
    void release();

    // The MIDI output ports of other programs by full name: the sources the input may listen to.
    std::vector<std::string> sourcePorts() const;
    // Connects `source` to the input port, or takes that connection away.
    bool connectSource(const std::string& source);
    void disconnectSource(const std::string& source);

  private:
    explicit JackMidiClient(_jack_client* client);
    static int process(unsigned frames, void* self);
    static void onShutdown(int code, const char* reason, void* self);
    static void onConnection(unsigned from, unsigned to, int connected, void* self);
    void markStopped() const;
    bool openInput(const Input& input);
    bool isOwnPort(std::string_view name) const;
    std::vector<std::string> othersMidiPorts(unsigned long flags) const;
    bool activate();
    void unregisterOutputPort();
    void waitForCycle() const;
    void deactivateWhenUnused();
    void renderAudio(unsigned frames);
    void receive(unsigned frames);
    bool activatePort();
    std::vector<std::string> connectionsOfPort() const;
    void deliverQueued(_jack_port* port, unsigned frames);
    void waitUntilDelivered() const;

    _jack_client* client_;
    _jack_port* port_ = nullptr;
    // What the process thread sees of port_: cleared before the port goes.
    std::atomic<_jack_port*> processedPort_{nullptr};
    std::atomic<unsigned> cycles_{0};
    _jack_port* inputPort_ = nullptr;
    _jack_port* leftPort_ = nullptr;
    _jack_port* rightPort_ = nullptr;
    std::atomic<AudioSource*> audio_{nullptr};
    std::optional<Input> input_;
    jack_ringbuffer_t* queue_ = nullptr;
    std::mutex sending_;
    // libjack's requests to the server share one socket: the threads that use the client (the
    // window's, the device's opener, the input's starter) make them one at a time.
    mutable std::recursive_mutex requests_;
    mutable std::atomic<bool> running_{true};
    std::atomic<bool> active_{false};
    std::atomic<int64_t> lastCycleMs_{0}; // on the steady clock
    bool ownPortOpen_ = false;
    std::vector<std::string> ownPortPeers_;
};

} // namespace ladoton
