#include "ports/JackMidiOutput.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

namespace ladoton {

namespace {

// Room for some thousands of messages, more than the window's thread sends between two
// periods; a greater burst waits in the backlog.
constexpr std::size_t QueueBytes = 65536;
// How long closing waits for the queue to reach the server: some periods of any usual size.
constexpr auto DeliveryLimit = std::chrono::milliseconds(200);

bool portExists(jack_client_t* client, const std::string& name) {
    return jack_port_by_name(client, name.c_str()) != nullptr;
}

} // namespace

JackMidiOutput::JackMidiOutput(JackClient& client)
    : client_(client), queue_(jack_ringbuffer_create(QueueBytes)) {}

JackMidiOutput::~JackMidiOutput() {
    jack_ringbuffer_free(queue_);
}

bool JackMidiOutput::open(const std::string& device) {
    return client_.withClient([&](jack_client_t* client) {
        close();
        if (client == nullptr || !registerPort(client)) {
            return false;
        }
        wish_ = Wish::Device;
        device_ = device;
        deviceAway_ = false;
        client_.portsUpdated();
        // A port that went away since the listing is a failed open.
        if (jack_connect(client, jack_port_name(port_.load()), device.c_str()) != 0) {
            close();
            return false;
        }
        return true;
    });
}

bool JackMidiOutput::openOwnPort() {
    return client_.withClient([&](jack_client_t* client) {
        close();
        if (client == nullptr || !registerPort(client)) {
            return false;
        }
        wish_ = Wish::OwnPort;
        // Whoever listened before the port was left listens again, as a patchbay would have
        // it, as soon as it is there.
        peersAway_ = ownPortPeers_;
        client_.portsUpdated();
        return true;
    });
}

void JackMidiOutput::close() {
    client_.withClient([&](jack_client_t* client) {
        if (wish_ == Wish::OwnPort) {
            const std::lock_guard lock(peersMutex_);
            ownPortPeers_ = peers_;
        }
        wish_ = Wish::None;
        peersAway_.clear();
        // A server that has gone must not be called again: its ports went with it.
        if (client != nullptr && port_.load() != nullptr) {
            waitUntilDelivered();
            unregisterPort(client);
            client_.portsUpdated();
        }
    });
}

bool JackMidiOutput::registerPort(jack_client_t* client) {
    emptyQueue();
    jack_port_t* port =
        jack_port_register(client, PortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    port_.store(port);
    return port != nullptr;
}

// A port goes once no cycle that may still write to it is under way.
void JackMidiOutput::unregisterPort(jack_client_t* client) {
    jack_port_t* port = port_.exchange(nullptr);
    client_.waitForCycle();
    jack_port_unregister(client, port);
    const std::lock_guard lock(peersMutex_);
    peers_.clear();
}

// Nothing queued for a server that has gone reaches the next one: it would sound late, or twice.
void JackMidiOutput::emptyQueue() {
    lockSending();
    jack_ringbuffer_reset(queue_);
    backlog_ = OutputBacklog{};
    backlogged_.store(false);
    unlockSending();
}

void JackMidiOutput::attach(jack_client_t* client) {
    if (wish_ != Wish::None) {
        registerPort(client);
    }
}

void JackMidiOutput::detach() {
    port_.store(nullptr);
    deviceAway_ = wish_ == Wish::Device;
    if (wish_ == Wish::OwnPort) {
        const std::lock_guard lock(peersMutex_);
        peersAway_ = peers_;
        peers_.clear();
    }
}

void JackMidiOutput::connectWished(jack_client_t* client) {
    if (port_.load() == nullptr) {
        return;
    }
    if (wish_ == Wish::Device) {
        const bool there = portExists(client, device_);
        if (there && deviceAway_) {
            deviceAway_ = false;
            reconnect(client, device_);
        }
        deviceAway_ = deviceAway_ || !there;
    }
    for (auto peer = peersAway_.begin(); peer != peersAway_.end();) {
        if (portExists(client, *peer)) {
            reconnect(client, *peer);
            peer = peersAway_.erase(peer);
        } else {
            ++peer;
        }
    }
}

void JackMidiOutput::reconnect(jack_client_t* client, const std::string& peer) {
    if (jack_connect(client, jack_port_name(port_.load()), peer.c_str()) == 0 && onReconnected_) {
        onReconnected_();
    }
}

void JackMidiOutput::connectionChanged(jack_port_t* from, jack_port_t* to, bool made) {
    if (from == nullptr || to == nullptr || from != port_.load()) {
        return;
    }
    const std::string peer = jack_port_name(to);
    const std::lock_guard lock(peersMutex_);
    const auto known = std::find(peers_.begin(), peers_.end(), peer);
    if (made && known == peers_.end()) {
        peers_.push_back(peer);
    } else if (!made && known != peers_.end()) {
        peers_.erase(known);
    }
}

void JackMidiOutput::lockSending() {
    while (sending_.test_and_set(std::memory_order_acquire)) {
        std::this_thread::yield();
    }
}

void JackMidiOutput::send(const ShortMessage& message) {
    if (port_.load() == nullptr || message.size == 0 || !client_.running()) {
        return;
    }
    std::array<char, 1 + sizeof(message.bytes)> record{};
    record[0] = static_cast<char>(message.size);
    for (std::size_t i = 0; i < message.size; ++i) {
        record[1 + i] = static_cast<char>(message.bytes[i]);
    }
    const std::size_t length = 1 + message.size;
    lockSending();
    // Once anything waits in the backlog, what follows waits behind it.
    if (!backlogged_.load() && jack_ringbuffer_write_space(queue_) >= length) {
        jack_ringbuffer_write(queue_, record.data(), length);
    } else {
        backlog_.add(message);
        backlogged_.store(true);
    }
    unlockSending();
}

void JackMidiOutput::waitUntilDelivered() const {
    const auto deadline = std::chrono::steady_clock::now() + DeliveryLimit;
    while ((jack_ringbuffer_read_space(queue_) > 0 || backlogged_.load()) && client_.running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void JackMidiOutput::process(unsigned frames) {
    jack_port_t* port = port_.load();
    if (port == nullptr) {
        return;
    }
    void* buffer = jack_port_get_buffer(port, frames);
    jack_midi_clear_buffer(buffer);
    deliverQueued(buffer);
    if (backlogged_.load() && jack_ringbuffer_read_space(queue_) == 0) {
        drainBacklog(buffer);
    }
}

// What does not fit into this period's buffer waits for the next.
void JackMidiOutput::deliverQueued(void* buffer) {
    std::array<char, 4> record{};
    while (jack_ringbuffer_read_space(queue_) > 0) {
        jack_ringbuffer_peek(queue_, record.data(), 1);
        const auto size = static_cast<std::size_t>(static_cast<unsigned char>(record[0]));
        if (jack_ringbuffer_read_space(queue_) < 1 + size ||
            jack_midi_max_event_size(buffer) < size) {
            break;
        }
        jack_ringbuffer_read(queue_, record.data(), 1 + size);
        jack_midi_event_write(buffer, 0,
                              reinterpret_cast<const jack_midi_data_t*>(record.data() + 1), size);
    }
}

// A sender that holds the lock now is let be: the backlog waits for the next period.
void JackMidiOutput::drainBacklog(void* buffer) {
    if (sending_.test_and_set(std::memory_order_acquire)) {
        return;
    }
    backlog_.drain([buffer](const ShortMessage& message) {
        return jack_midi_max_event_size(buffer) >= message.size &&
               jack_midi_event_write(buffer, 0, message.bytes.data(), message.size) == 0;
    });
    backlogged_.store(!backlog_.empty());
    unlockSending();
}

} // namespace ladoton
