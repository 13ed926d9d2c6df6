#include "audio/PipeWireLibrary.h"

#include "audio/LibrarySymbols.h"
#include "audio/PipeWireVersion.h"

#include <dlfcn.h>

#include <optional>

namespace ladoton {

namespace {

std::optional<PipeWireApi> load() {
    // Never unloaded: its plugins and threads may outlive any one stream.
    void* library = dlopen("libpipewire-0.3.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    PipeWireApi api{};
    const bool complete = resolve(library, "pw_init", api.init) &&
                          resolve(library, "pw_get_library_version", api.libraryVersion) &&
                          resolve(library, "pw_properties_new", api.newProperties) &&
                          resolve(library, "pw_thread_loop_new", api.newThreadLoop) &&
                          resolve(library, "pw_thread_loop_destroy", api.destroyThreadLoop) &&
                          resolve(library, "pw_thread_loop_get_loop", api.threadLoopLoop) &&
                          resolve(library, "pw_thread_loop_start", api.startThreadLoop) &&
                          resolve(library, "pw_thread_loop_stop", api.stopThreadLoop) &&
                          resolve(library, "pw_thread_loop_lock", api.lock) &&
                          resolve(library, "pw_thread_loop_unlock", api.unlock) &&
                          resolve(library, "pw_thread_loop_timed_wait", api.timedWait) &&
                          resolve(library, "pw_thread_loop_signal", api.signal) &&
                          resolve(library, "pw_stream_new_simple", api.newStream) &&
                          resolve(library, "pw_stream_destroy", api.destroyStream) &&
                          resolve(library, "pw_stream_connect", api.connect) &&
                          resolve(library, "pw_stream_disconnect", api.disconnect) &&
                          resolve(library, "pw_stream_dequeue_buffer", api.dequeueBuffer) &&
                          resolve(library, "pw_stream_queue_buffer", api.queueBuffer) &&
                          resolve(library, "pw_stream_set_active", api.setActive);
    if (!complete) {
        return std::nullopt;
    }
    api.init(nullptr, nullptr);
    api.requestedFrames = pipeWireTellsRequestedFrames(api.libraryVersion());
    return api;
}

} // namespace

const PipeWireApi* pipeWire() {
    static const std::optional<PipeWireApi> api = load();
    return api ? &*api : nullptr;
}

} // namespace ladoton
