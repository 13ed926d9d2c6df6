#pragma once

#include "midi/PipeWireLibrary.h"
#include "midi/RestingRenderer.h"

#include <atomic>
#include <memory>

namespace ladoton {

// The built-in synthesizer as a playback stream of PipeWire's own: stereo 32-bit float,
// rendered in the stream's real-time callback with a small quantum, so that a note sounds
// within a quantum or two of its key. While the renderer rests the stream is inactive and
// PipeWire stops waking the program (and, with nothing else playing, the sink) for it.
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
    PipeWireOutput(const PipeWireApi& api, RestingRenderer& renderer);
    bool connect(const Options& options);
    void process();
    void stopIfResting();

    static void onProcess(void* data);
    static void onStateChanged(void* data, pw_stream_state old, pw_stream_state state,
                               const char* error);
    static int onRest(spa_loop* loop, bool async, uint32_t seq, const void* data, size_t size,
                      void* self);

    const PipeWireApi& api_;
    RestingRenderer& renderer_;
    pw_stream_events events_{};
    pw_thread_loop* loop_ = nullptr;
    pw_stream* stream_ = nullptr;
    pw_stream_state state_ = PW_STREAM_STATE_UNCONNECTED; // under the loop's lock
    bool active_ = true;                                  // under the loop's lock
    std::atomic<bool> restAsked_{false};
};

} // namespace ladoton
