#pragma once

#include "audio/PipeWireLibrary.h"
#include "audio/RestingRenderer.h"

#include <atomic>
#include <memory>

struct spa_io_position;
struct spa_source;

namespace ladoton {

// The built-in synthesizer as a playback stream of PipeWire's own: stereo 32-bit float,
// rendered in the stream's real-time callback with a small quantum, so that a note sounds
// within a quantum or two of its key. While the renderer rests the stream is inactive and
// PipeWire stops waking the program (and, with nothing else playing, the sink) for it.
//
// When the PipeWire daemon goes away (a restart, a crash), the stream connects again by itself
// as soon as a daemon answers, trying twice a second while there is none and not at all while
// it is connected; the renderer goes on where it was.
class PipeWireOutput {
  public:
    struct Options {
        int sampleRate = 48000;
        int quantum = 256;
    };

    // nullptr when libpipewire is missing or no PipeWire server answers.
    static std::unique_ptr<PipeWireOutput> open(const PipeWireApi& api, RestingRenderer& renderer,
                                                Options options);
    ~PipeWireOutput();
    PipeWireOutput(const PipeWireOutput&) = delete;
    PipeWireOutput& operator=(const PipeWireOutput&) = delete;

    // After the renderer was woken: the stream plays again if it rested.
    void wake();

  private:
    PipeWireOutput(const PipeWireApi& api, RestingRenderer& renderer, Options options);
    bool start();
    // Under the loop's lock: false when the server cannot be reached at all.
    bool connectStream();
    void process();
    uint64_t framesAsked(const pw_buffer& buffer) const;
    void stopIfResting();
    void scheduleRetry(int milliseconds);
    void retry();

    static void onProcess(void* data);
    static void onStateChanged(void* data, pw_stream_state old, pw_stream_state state,
                               const char* error);
    static void onIoChanged(void* data, uint32_t id, void* area, uint32_t size);
    static int onRest(spa_loop* loop, bool async, uint32_t seq, const void* data, size_t size,
                      void* self);
    static void onRetry(void* self, uint64_t expirations);

    const PipeWireApi& api_;
    RestingRenderer& renderer_;
    const Options options_;
    pw_stream_events events_{};
    pw_thread_loop* loop_ = nullptr;
    pw_stream* stream_ = nullptr;
    spa_source* retryTimer_ = nullptr;
    // Under the loop's lock:
    pw_stream_state state_ = PW_STREAM_STATE_UNCONNECTED;
    bool active_ = true;
    bool started_ = false;      // connected once: a stream lost from then on is connected again
    bool reconnecting_ = false; // the retry's own disconnection is no loss
    std::atomic<bool> restAsked_{false};
    // Where the graph tells its quantum, for a library whose buffers do not.
    std::atomic<spa_io_position*> position_{nullptr};
};

} // namespace ladoton
