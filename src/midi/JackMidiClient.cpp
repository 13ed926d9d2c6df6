#include "midi/JackMidiClient.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <string_view>
#include <thread>

namespace ladoton {

namespace {

// Room for a few hundred messages: silencing a channel sends 128 at once.
constexpr std::size_t QueueBytes = 8192;
// How long closing waits for the queue to reach the server: some periods of any usual size.
constexpr auto DeliveryLimit = std::chrono::milliseconds(200);
// A server that runs no cycle for this long has stopped: longer than a client's time-out and
// than the longest usual period.
constexpr int64_t StallLimitMs = 2500;

int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::unique_ptr<JackMidiClient> JackMidiClient::connect(const Input* input) {
    jack_client_t* client = jack_client_open(ClientName, JackNoStartServer, nullptr);
    if (client == nullptr) {
        return nullptr;
    }
    std::unique_ptr<JackMidiClient> result(new JackMidiClient(client));
    jack_on_info_shutdown(
        client,
        [](jack_status_t code, const char* reason, void* self) {
            onShutdown(static_cast<int>(code), reason, self);
        },
        result.get());
    jack_set_process_callback(client, &JackMidiClient::process, result.get());
    jack_set_port_connect_callback(
        client,
        [](jack_port_id_t from, jack_port_id_t to, int connected, void* self) {
            onConnection(from, to, connected, self);
        },
        result.get());
    // Without its input port the client still serves the output.
    if (input != nullptr) {
        result->openInput(*input);
    }
    return result;
}

bool JackMidiClient::openInput(const Input& input) {
    jack_port_t* port =
        jack_port_register(client_, InputPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (port == nullptr) {
        return false;
    }
    input_.emplace(input);
    inputPort_ = port;
    return activate();
}

bool JackMidiClient::activate() {
    if (!active_.load()) {
        lastCycleMs_.store(steadyMs());
        active_.store(jack_activate(client_) == 0);
    }
    return active_.load();
}

bool JackMidiClient::running() const {
    if (running_.load() && active_.load() && steadyMs() - lastCycleMs_.load() > StallLimitMs) {
        markStopped();
    }
    return running_.load();
}

JackMidiClient::JackMidiClient(_jack_client* client)
    : client_(client), queue_(jack_ringbuffer_create(QueueBytes)) {}

JackMidiClient::~JackMidiClient() {
    release();
    jack_ringbuffer_free(queue_);
}

void JackMidiClient::release() {
    const std::lock_guard lock(requests_);
    if (client_ == nullptr) {
        return;
    }
    close();
    closeAudio();
    jack_client_close(client_);
    client_ = nullptr;
    running_.store(false);
}

void JackMidiClient::onShutdown(int /*code*/, const char* /*reason*/, void* self) {
    static_cast<JackMidiClient*>(self)->markStopped();
}

void JackMidiClient::markStopped() const {
    if (running_.exchange(false) && input_) {
        input_->queue.markLoss();
        input_->wakeup.signal();
    }
}

// On a thread of libjack's: a source that goes away takes its held notes' note-offs along.
void JackMidiClient::onConnection(unsigned /*from*/, unsigned to, int connected, void* self) {
    auto* client = static_cast<JackMidiClient*>(self);
    if (connected != 0 || !client->input_ || client->inputPort_ == nullptr) {
        return;
    }
    if (jack_port_by_id(client->client_, to) == client->inputPort_) {
        client->input_->queue.markLoss();
        client->input_->wakeup.signal();
    }
}

// The program's own ports are no device and no source: it would play back into itself.
bool JackMidiClient::isOwnPort(std::string_view name) const {
    const std::string_view own = jack_get_client_name(client_);
    return name.size() > own.size() && name.substr(0, own.size()) == own && name[own.size()] == ':';
}

std::vector<std::string> JackMidiClient::sourcePorts() const {
    return inputPort_ == nullptr ? std::vector<std::string>{} : othersMidiPorts(JackPortIsOutput);
}

bool JackMidiClient::connectSource(const std::string& source) {
    const std::lock_guard lock(requests_);
    if (!running() || inputPort_ == nullptr) {
        return false;
    }
    const int result = jack_connect(client_, source.c_str(), jack_port_name(inputPort_));
    return result == 0 || result == EEXIST;
}

void JackMidiClient::disconnectSource(const std::string& source) {
    const std::lock_guard lock(requests_);
    if (running() && inputPort_ != nullptr) {
        jack_disconnect(client_, source.c_str(), jack_port_name(inputPort_));
    }
}

std::vector<std::string> JackMidiClient::inputPorts() const {
    return othersMidiPorts(JackPortIsInput);
}

// The MIDI ports of other clients with `flags` (input or output), in the server's order.
std::vector<std::string> JackMidiClient::othersMidiPorts(unsigned long flags) const {
    const std::lock_guard lock(requests_);
    std::vector<std::string> names;
    if (!running()) {
        return names;
    }
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (ports == nullptr) {
        return names;
    }
    for (const char** name = ports; *name != nullptr; ++name) {
        if (!isOwnPort(*name)) {
            names.emplace_back(*name);
        }
    }
    jack_free(static_cast<void*>(ports));
    return names;
}

bool JackMidiClient::hasPort(const std::string& name) const {
    const std::lock_guard lock(requests_);
    return running() && jack_port_by_name(client_, name.c_str()) != nullptr;
}

bool JackMidiClient::open(const std::string& target) {
    const std::lock_guard lock(requests_);
    if (!activatePort()) {
        return false;
    }
    // A port that went away since the listing is a failed open.
    if (jack_connect(client_, jack_port_name(port_), target.c_str()) != 0) {
        close();
        return false;
    }
    return true;
}

bool JackMidiClient::openOwnPort() {
    const std::lock_guard lock(requests_);
    if (!activatePort()) {
        return false;
    }
    ownPortOpen_ = true;
    // Whoever listened before the port was left listens again, as a patchbay would have it;
    // peers that have gone since are passed over.
    for (const std::string& peer : ownPortPeers_) {
        jack_connect(client_, jack_port_name(port_), peer.c_str());
    }
    return true;
}

bool JackMidiClient::activatePort() {
    close();
    if (!running()) {
        return false;
    }
    jack_ringbuffer_reset(queue_);
    jack_port_t* port =
        jack_port_register(client_, OutputPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (port == nullptr) {
        return false;
    }
    port_ = port;
    if (!activate()) {
        jack_port_unregister(client_, port);
        port_ = nullptr;
        return false;
    }
    processedPort_.store(port_);
    return true;
}

std::vector<std::string> JackMidiClient::connectionsOfPort() const {
    std::vector<std::string> names;
    const char** peers = jack_port_get_connections(port_);
    if (peers == nullptr) {
        return names;
    }
    for (const char** name = peers; *name != nullptr; ++name) {
        names.emplace_back(*name);
    }
    jack_free(static_cast<void*>(peers));
    return names;
}

void JackMidiClient::send(const ShortMessage& message) {
    if (port_ == nullptr || !running() || message.size == 0) {
        return;
    }
    std::array<char, 1 + sizeof(message.bytes)> record{};
    record[0] = static_cast<char>(message.size);
    for (std::size_t i = 0; i < message.size; ++i) {
        record[1 + i] = static_cast<char>(message.bytes[i]);
    }
    const std::size_t length = 1 + message.size;
    const std::lock_guard lock(sending_);
    if (jack_ringbuffer_write_space(queue_) >= length) {
        jack_ringbuffer_write(queue_, record.data(), length);
    }
}

void JackMidiClient::close() {
    const std::lock_guard lock(requests_);
    if (port_ == nullptr) {
        return;
    }
    const bool wasOwnPort = ownPortOpen_;
    ownPortOpen_ = false;
    // A server that has gone must not be called again: its client is only closed.
    if (!running()) {
        return;
    }
    if (wasOwnPort) {
        ownPortPeers_ = connectionsOfPort();
    }
    waitUntilDelivered();
    unregisterOutputPort();
}

void JackMidiClient::unregisterOutputPort() {
    processedPort_.store(nullptr);
    waitForCycle();
    jack_port_unregister(client_, port_);
    port_ = nullptr;
    deactivateWhenUnused();
}

// A port goes once no cycle that may still write to it is under way.
void JackMidiClient::waitForCycle() const {
    const unsigned cycle = cycles_.load();
    const auto deadline = std::chrono::steady_clock::now() + DeliveryLimit;
    while (active_.load() && cycles_.load() == cycle && running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// Without a port the client leaves the server's cycles, and costs nothing.
void JackMidiClient::deactivateWhenUnused() {
    if (inputPort_ == nullptr && port_ == nullptr && leftPort_ == nullptr && active_.load()) {
        jack_deactivate(client_);
        active_.store(false);
    }
}

bool JackMidiClient::openAudio(AudioSource& source) {
    const std::lock_guard lock(requests_);
    closeAudio();
    if (!running()) {
        return false;
    }
    leftPort_ =
        jack_port_register(client_, LeftPortName, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    rightPort_ =
        jack_port_register(client_, RightPortName, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (leftPort_ == nullptr || rightPort_ == nullptr || !activate()) {
        closeAudio();
        return false;
    }
    audio_.store(&source);
    // A JACK server has no default output: the system's playback ports are it.
    const char** playback = jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                           JackPortIsPhysical | JackPortIsInput);
    if (playback != nullptr) {
        if (playback[0] != nullptr) {
            jack_connect(client_, jack_port_name(leftPort_), playback[0]);
            jack_connect(client_, jack_port_name(rightPort_),
                         playback[1] != nullptr ? playback[1] : playback[0]);
        }
        jack_free(static_cast<void*>(playback));
    }
    return true;
}

void JackMidiClient::closeAudio() {
    const std::lock_guard lock(requests_);
    audio_.store(nullptr);
    // A server that has gone must not be called again.
    if (client_ == nullptr || !running()) {
        leftPort_ = nullptr;
        rightPort_ = nullptr;
        return;
    }
    if (leftPort_ == nullptr && rightPort_ == nullptr) {
        return;
    }
    waitForCycle();
    for (_jack_port** port : {&leftPort_, &rightPort_}) {
        if (*port != nullptr) {
            jack_port_unregister(client_, *port);
            *port = nullptr;
        }
    }
    deactivateWhenUnused();
}

unsigned JackMidiClient::sampleRate() const {
    const std::lock_guard lock(requests_);
    return running() ? jack_get_sample_rate(client_) : 0;
}

void JackMidiClient::renderAudio(unsigned frames) {
    if (AudioSource* source = audio_.load(); source != nullptr) {
        source->render(static_cast<float*>(jack_port_get_buffer(leftPort_, frames)),
                       static_cast<float*>(jack_port_get_buffer(rightPort_, frames)), frames);
    }
}

void JackMidiClient::waitUntilDelivered() const {
    const auto deadline = std::chrono::steady_clock::now() + DeliveryLimit;
    while (jack_ringbuffer_read_space(queue_) > 0 && running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int JackMidiClient::process(unsigned frames, void* self) {
    auto* client = static_cast<JackMidiClient*>(self);
    if (client->inputPort_ != nullptr) {
        client->receive(frames);
    }
    if (_jack_port* port = client->processedPort_.load(); port != nullptr) {
        client->deliverQueued(port, frames);
    }
    client->renderAudio(frames);
    client->cycles_.fetch_add(1);
    client->lastCycleMs_.store(steadyMs());
    return 0;
}

// On the server's process thread: the input's channel messages are copied for the window's
// thread, which is woken. System messages (clock, active sensing, system exclusive) are no
// business of the program and never wake it.
void JackMidiClient::receive(unsigned frames) {
    void* buffer = jack_port_get_buffer(inputPort_, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    bool arrived = false;
    for (uint32_t index = 0; index < count; ++index) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, index) != 0 || event.size == 0 ||
            event.buffer[0] >= 0xF0) {
            continue;
        }
        input_->queue.push(event.buffer, event.size);
        arrived = true;
    }
    if (arrived) {
        input_->wakeup.signal();
    }
}

// On the server's process thread: nothing here may wait or allocate.
void JackMidiClient::deliverQueued(_jack_port* port, unsigned frames) {
    void* buffer = jack_port_get_buffer(port, frames);
    jack_midi_clear_buffer(buffer);
    std::array<char, 4> record{};
    while (jack_ringbuffer_read_space(queue_) > 0) {
        jack_ringbuffer_peek(queue_, record.data(), 1);
        const auto size = static_cast<std::size_t>(static_cast<unsigned char>(record[0]));
        // What does not fit into this period's buffer waits for the next.
        if (jack_ringbuffer_read_space(queue_) < 1 + size ||
            jack_midi_max_event_size(buffer) < size) {
            break;
        }
        jack_ringbuffer_read(queue_, record.data(), 1 + size);
        jack_midi_event_write(buffer, 0,
                              reinterpret_cast<const jack_midi_data_t*>(record.data() + 1), size);
    }
}

} // namespace ladoton
