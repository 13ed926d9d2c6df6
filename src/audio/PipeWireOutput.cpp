#include "audio/PipeWireOutput.h"

#include "midi/MidiVocabulary.h"

#include "audio/PipeWireVersion.h"

#include <spa/node/io.h>
#include <spa/param/audio/format-utils.h>

#include <array>
#include <ctime>
#include <string>

namespace ladoton {

namespace {

constexpr int Channels = 2;
constexpr int ConnectTimeoutSeconds = 2;
// After the daemon went away: the first try once it has had a moment to go, then two a second.
constexpr int FirstRetryMs = 100;
constexpr int RetryMs = 500;

// What pw_loop_invoke does, without its macro's GNU statement expression: queues `function`
// on the loop's thread without waiting for it.
void invokeOnLoop(pw_loop* loop, spa_invoke_func_t function, void* data) {
    const spa_interface& loopInterface = loop->loop->iface;
    const auto* methods = static_cast<const spa_loop_methods*>(loopInterface.cb.funcs);
    methods->invoke(loopInterface.cb.data, function, 0, nullptr, 0, false, data);
}

// The loop's timers, likewise without the macros.
struct LoopUtils {
    void* object;
    const spa_loop_utils_methods* methods;
};

LoopUtils utilsOf(pw_loop* loop) {
    const spa_interface& utilsInterface = loop->utils->iface;
    return {utilsInterface.cb.data,
            static_cast<const spa_loop_utils_methods*>(utilsInterface.cb.funcs)};
}

} // namespace

PipeWireOutput::PipeWireOutput(const PipeWireApi& api, RestingRenderer& renderer, Options options)
    : api_(api), renderer_(renderer), options_(options) {
    events_.version = PW_VERSION_STREAM_EVENTS;
    events_.state_changed = &PipeWireOutput::onStateChanged;
    events_.io_changed = &PipeWireOutput::onIoChanged;
    events_.process = &PipeWireOutput::onProcess;
}

std::unique_ptr<PipeWireOutput> PipeWireOutput::open(const PipeWireApi& api,
                                                     RestingRenderer& renderer, Options options) {
    std::unique_ptr<PipeWireOutput> output(new PipeWireOutput(api, renderer, options));
    if (!output->start()) {
        return nullptr;
    }
    return output;
}

bool PipeWireOutput::start() {
    loop_ = api_.newThreadLoop("ladoton-synth", nullptr);
    if (loop_ == nullptr) {
        return false;
    }
    // As desktop mixers show it: the program's name and icon.
    const std::string latency =
        std::to_string(options_.quantum) + "/" + std::to_string(options_.sampleRate);
    pw_properties* properties = api_.newProperties(
        PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback", PW_KEY_MEDIA_ROLE, "Music",
        PW_KEY_APP_NAME, midi::ClientName, PW_KEY_APP_ICON_NAME, "ladoton", PW_KEY_NODE_NAME,
        midi::ClientName, PW_KEY_NODE_DESCRIPTION, midi::ClientName, PW_KEY_MEDIA_NAME,
        "Встроенный синтезатор", PW_KEY_NODE_LATENCY, latency.c_str(), nullptr);
    api_.lock(loop_);
    pw_loop* loop = api_.threadLoopLoop(loop_);
    stream_ = api_.newStream(loop, midi::ClientName, properties, &events_, this);
    if (stream_ == nullptr || api_.startThreadLoop(loop_) < 0) {
        api_.unlock(loop_);
        return false;
    }
    const LoopUtils utils = utilsOf(loop);
    retryTimer_ = utils.methods->add_timer(utils.object, &PipeWireOutput::onRetry, this);
    // Fails at once without a server; a server that refuses the stream says so in a state.
    bool connected = retryTimer_ != nullptr && connectStream();
    while (connected && state_ != PW_STREAM_STATE_PAUSED && state_ != PW_STREAM_STATE_STREAMING) {
        connected =
            state_ != PW_STREAM_STATE_ERROR && api_.timedWait(loop_, ConnectTimeoutSeconds) == 0;
    }
    started_ = connected;
    api_.unlock(loop_);
    return connected;
}

bool PipeWireOutput::connectStream() {
    std::array<uint8_t, 1024> buffer{};
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, buffer.data(), buffer.size());
    spa_audio_info_raw format{};
    format.format = SPA_AUDIO_FORMAT_F32;
    format.rate = static_cast<uint32_t>(options_.sampleRate);
    format.channels = Channels;
    format.position[0] = SPA_AUDIO_CHANNEL_FL;
    format.position[1] = SPA_AUDIO_CHANNEL_FR;
    const spa_pod* params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
    // A stream connected again while the synthesizer rests stays at rest.
    const auto flags = static_cast<pw_stream_flags>(
        PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS |
        (active_ ? 0 : PW_STREAM_FLAG_INACTIVE));
    return api_.connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1) >= 0;
}

PipeWireOutput::~PipeWireOutput() {
    if (loop_ == nullptr) {
        return;
    }
    // The loop thread is stopped before the stream goes, so no callback of it runs after.
    api_.stopThreadLoop(loop_);
    if (retryTimer_ != nullptr) {
        const LoopUtils utils = utilsOf(api_.threadLoopLoop(loop_));
        utils.methods->destroy_source(utils.object, retryTimer_);
    }
    if (stream_ != nullptr) {
        api_.destroyStream(stream_);
    }
    api_.destroyThreadLoop(loop_);
}

void PipeWireOutput::wake() {
    api_.lock(loop_);
    restAsked_.store(false);
    if (!active_) {
        active_ = true;
        api_.setActive(stream_, true);
    }
    api_.unlock(loop_);
}

void PipeWireOutput::onProcess(void* data) {
    static_cast<PipeWireOutput*>(data)->process();
}

void PipeWireOutput::process() {
    pw_buffer* buffer = api_.dequeueBuffer(stream_);
    if (buffer == nullptr) {
        return;
    }
    spa_data& data = buffer->buffer->datas[0];
    auto* samples = static_cast<float*>(data.data);
    if (samples == nullptr) {
        api_.queueBuffer(stream_, buffer);
        return;
    }
    constexpr uint32_t stride = sizeof(float) * Channels;
    const uint32_t frames = framesToRender(data.maxsize / stride, framesAsked(*buffer));
    const StereoBlock block{samples, samples + 1, static_cast<int>(frames), Channels};
    if (!renderer_.process(block) && !restAsked_.exchange(true)) {
        // Not from the real-time thread: the stream is stopped on the loop's.
        invokeOnLoop(api_.threadLoopLoop(loop_), &PipeWireOutput::onRest, this);
    }
    data.chunk->offset = 0;
    data.chunk->stride = stride;
    data.chunk->size = frames * stride;
    api_.queueBuffer(stream_, buffer);
}

uint64_t PipeWireOutput::framesAsked(const pw_buffer& buffer) const {
    if (api_.requestedFrames) {
        return buffer.requested;
    }
    // An older library: the graph's quantum, counted at the graph's rate.
    const spa_io_position* position = position_.load(std::memory_order_acquire);
    if (position == nullptr || position->clock.rate.denom == 0) {
        return static_cast<uint64_t>(options_.quantum);
    }
    const spa_io_clock& clock = position->clock;
    return clock.duration * static_cast<uint64_t>(options_.sampleRate) * clock.rate.num /
           clock.rate.denom;
}

int PipeWireOutput::onRest(spa_loop*, bool, uint32_t, const void*, size_t, void* self) {
    static_cast<PipeWireOutput*>(self)->stopIfResting();
    return 0;
}

void PipeWireOutput::stopIfResting() {
    // On the loop's thread, which holds its lock: a wake either came before and is seen here,
    // or comes after and finds the stream stopped.
    if (!restAsked_.load() || !renderer_.resting() || !active_) {
        return;
    }
    active_ = false;
    api_.setActive(stream_, false);
}

void PipeWireOutput::onStateChanged(void* data, pw_stream_state, pw_stream_state state,
                                    const char*) {
    auto* self = static_cast<PipeWireOutput*>(data);
    self->state_ = state;
    const bool lost = state == PW_STREAM_STATE_UNCONNECTED || state == PW_STREAM_STATE_ERROR;
    if (lost && self->started_ && !self->reconnecting_) {
        self->scheduleRetry(FirstRetryMs);
    }
    self->api_.signal(self->loop_, false);
}

void PipeWireOutput::onIoChanged(void* data, uint32_t id, void* area, uint32_t) {
    if (id == SPA_IO_Position) {
        static_cast<PipeWireOutput*>(data)->position_.store(static_cast<spa_io_position*>(area),
                                                            std::memory_order_release);
    }
}

void PipeWireOutput::scheduleRetry(int milliseconds) {
    timespec value{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    timespec once{0, 0};
    const LoopUtils utils = utilsOf(api_.threadLoopLoop(loop_));
    utils.methods->update_timer(utils.object, retryTimer_, &value, &once, false);
}

void PipeWireOutput::onRetry(void* self, uint64_t) {
    static_cast<PipeWireOutput*>(self)->retry();
}

void PipeWireOutput::retry() {
    // On the loop's thread, under its lock. The old connection's node and buffers go with it.
    reconnecting_ = true;
    api_.disconnect(stream_);
    position_.store(nullptr);
    const bool reached = connectStream();
    reconnecting_ = false;
    if (!reached) {
        scheduleRetry(RetryMs);
    }
}

} // namespace ladoton
