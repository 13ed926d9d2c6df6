#pragma once

#include <pipewire/pipewire.h>

namespace ladoton {

// The PipeWire functions the built-in synthesizer's stream uses. Like FluidSynth, the library
// is loaded when the synthesizer first starts, not with the program.
struct PipeWireApi {
    decltype(&::pw_init) init;
    decltype(&::pw_get_library_version) libraryVersion;
    decltype(&::pw_properties_new) newProperties;
    decltype(&::pw_thread_loop_new) newThreadLoop;
    decltype(&::pw_thread_loop_destroy) destroyThreadLoop;
    decltype(&::pw_thread_loop_get_loop) threadLoopLoop;
    decltype(&::pw_thread_loop_start) startThreadLoop;
    decltype(&::pw_thread_loop_stop) stopThreadLoop;
    decltype(&::pw_thread_loop_lock) lock;
    decltype(&::pw_thread_loop_unlock) unlock;
    decltype(&::pw_thread_loop_timed_wait) timedWait;
    decltype(&::pw_thread_loop_signal) signal;
    decltype(&::pw_stream_new_simple) newStream;
    decltype(&::pw_stream_destroy) destroyStream;
    decltype(&::pw_stream_connect) connect;
    decltype(&::pw_stream_disconnect) disconnect;
    decltype(&::pw_stream_dequeue_buffer) dequeueBuffer;
    decltype(&::pw_stream_queue_buffer) queueBuffer;
    decltype(&::pw_stream_set_active) setActive;
    // Whether the library's buffers tell the frames the graph asks for (`pw_buffer::requested`).
    bool requestedFrames = false;
};

// Loads libpipewire once, from any thread, and initialises it; nullptr when it is missing.
const PipeWireApi* pipeWire();

} // namespace ladoton
