#include "ports/JackClient.h"

#include "ports/JackAudioOutput.h"
#include "ports/JackMidiInput.h"
#include "ports/JackMidiOutput.h"

#include <jack/jack.h>

#include <algorithm>
#include <chrono>

namespace ladoton {

namespace {

// A server that runs no cycle for this long has stopped: longer than a client's time-out and
// than the longest usual period.
constexpr int64_t StallLimitMs = 2500;
// How often a server that went away is looked for, and a running one's cycles looked at.
constexpr auto WatchPeriod = std::chrono::milliseconds(500);
// A server that is stopping may take a client's connection and never answer it: the first look
// for a new one waits until the old one has surely finished stopping.
constexpr int64_t StoppingMs = 1000;
// How long an open may take before it is left to go on by itself: a live server answers in some
// tens of milliseconds.
constexpr auto OpenLimit = std::chrono::milliseconds(2000);
// How long taking a port away waits for the cycle under way: some periods of any usual size.
constexpr auto CycleLimit = std::chrono::milliseconds(200);

int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

JackClient::JackClient(std::optional<Input> input)
    : midiOutput_(std::make_unique<JackMidiOutput>(*this)),
      audioOutput_(std::make_unique<JackAudioOutput>(*this)) {
    if (input) {
        midiInput_ = std::make_unique<JackMidiInput>(*this, input->queue, input->wakeup);
        parts_.push_back(midiInput_.get());
    }
    parts_.push_back(midiOutput_.get());
    parts_.push_back(audioOutput_.get());
    watcher_ = std::thread(&JackClient::watch, this);
}

JackClient::~JackClient() {
    {
        const std::lock_guard lock(watching_);
        stopping_ = true;
    }
    watcherWake_.notify_one();
    watcher_.join();
    const std::lock_guard lock(requests_);
    midiOutput_->close();
    audioOutput_->close();
    if (client_ != nullptr) {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

bool JackClient::reach() {
    const std::lock_guard lock(requests_);
    if (client_ != nullptr && !running()) {
        lose();
    }
    const bool stopping = lookingForServer_.load() && steadyMs() - lostAtMs_ < StoppingMs;
    return client_ != nullptr || (!stopping && open());
}

bool JackClient::running() const {
    noticeStall();
    return running_.load();
}

void JackClient::noticeStall() const {
    if (running_.load() && active_.load() && steadyMs() - lastCycleMs_.load() > StallLimitMs) {
        running_.store(false);
        wakeWatcher();
    }
}

bool JackClient::open() {
    return install(opener_.open(OpenLimit));
}

bool JackClient::install(jack_client_t* client) {
    if (client == nullptr) {
        return false;
    }
    jack_on_info_shutdown(
        client,
        [](jack_status_t code, const char* reason, void* self) {
            onShutdown(static_cast<int>(code), reason, self);
        },
        this);
    jack_set_process_callback(client, &JackClient::process, this);
    jack_set_port_connect_callback(
        client,
        [](jack_port_id_t from, jack_port_id_t to, int connected, void* self) {
            onConnection(from, to, connected, self);
        },
        this);
    jack_set_port_registration_callback(
        client,
        [](jack_port_id_t port, int registered, void* self) {
            onRegistration(port, registered, self);
        },
        this);
    client_ = client;
    running_.store(true);
    active_.store(false);
    lookingForServer_.store(false);
    for (JackPart* part : parts_) {
        part->attach(client_);
    }
    portsUpdated();
    return true;
}

// The server is gone: its client is closed at once, also while parts still have ports on it,
// since libjack reaches a new server only once every client of the process is closed.
void JackClient::lose() {
    running_.store(false);
    for (JackPart* part : parts_) {
        part->detach();
    }
    jack_client_close(client_);
    client_ = nullptr;
    active_.store(false);
    lostAtMs_ = steadyMs();
    lookingForServer_.store(true);
}

void JackClient::portsUpdated() {
    if (client_ == nullptr || !running()) {
        return;
    }
    const bool wanted = std::any_of(parts_.begin(), parts_.end(),
                                    [](const JackPart* part) { return part->hasPorts(); });
    if (activate(wanted)) {
        for (JackPart* part : parts_) {
            part->connectWished(client_);
        }
    }
}

// Without ports the client leaves the server's cycles, and costs nothing. Ports are connected
// only while it takes part in them.
bool JackClient::activate(bool wanted) {
    if (wanted && !active_.load()) {
        lastCycleMs_.store(steadyMs());
        active_.store(jack_activate(client_) == 0);
    } else if (!wanted && active_.load()) {
        jack_deactivate(client_);
        active_.store(false);
    }
    return active_.load();
}

void JackClient::waitForCycle() const {
    const unsigned cycle = cycles_.load();
    const auto deadline = std::chrono::steady_clock::now() + CycleLimit;
    while (active_.load() && cycles_.load() == cycle && running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

bool JackClient::isOwnPort(std::string_view name) const {
    const std::lock_guard lock(requests_);
    if (client_ == nullptr) {
        return false;
    }
    const std::string_view own = jack_get_client_name(client_);
    return name.size() > own.size() && name.substr(0, own.size()) == own && name[own.size()] == ':';
}

std::vector<std::string> JackClient::otherPorts(const char* type, unsigned long flags) const {
    return withClient([&](jack_client_t* client) {
        std::vector<std::string> names;
        const char** ports =
            client != nullptr ? jack_get_ports(client, nullptr, type, flags) : nullptr;
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
    });
}

unsigned JackClient::sampleRate() const {
    return withClient(
        [](jack_client_t* client) { return client != nullptr ? jack_get_sample_rate(client) : 0; });
}

int JackClient::process(unsigned frames, void* self) {
    auto* client = static_cast<JackClient*>(self);
    for (JackPart* part : client->parts_) {
        part->process(frames);
    }
    client->cycles_.fetch_add(1);
    client->lastCycleMs_.store(steadyMs());
    return 0;
}

void JackClient::onShutdown(int /*code*/, const char* /*reason*/, void* self) {
    auto* client = static_cast<JackClient*>(self);
    client->running_.store(false);
    client->wakeWatcher();
}

void JackClient::onConnection(unsigned from, unsigned to, int connected, void* self) {
    auto* client = static_cast<JackClient*>(self);
    jack_port_t* fromPort = jack_port_by_id(client->client_, from);
    jack_port_t* toPort = jack_port_by_id(client->client_, to);
    for (JackPart* part : client->parts_) {
        part->connectionChanged(fromPort, toPort, connected != 0);
    }
}

// On a thread of libjack's, which may not make requests itself: the watcher connects.
void JackClient::onRegistration(unsigned /*port*/, int /*registered*/, void* self) {
    static_cast<JackClient*>(self)->wakeWatcher();
}

void JackClient::wakeWatcher() const {
    {
        const std::lock_guard lock(watching_);
        woken_ = true;
    }
    watcherWake_.notify_one();
}

// Sleeps until libjack tells of something, or, while there is a server to watch or one to look
// for, for a watch period at most.
void JackClient::watch() {
    for (;;) {
        bool told = false;
        {
            std::unique_lock lock(watching_);
            const auto toldOrStopping = [this] { return woken_ || stopping_; };
            if (active_.load() || lookingForServer_.load()) {
                watcherWake_.wait_for(lock, WatchPeriod, toldOrStopping);
            } else {
                watcherWake_.wait(lock, toldOrStopping);
            }
            if (stopping_) {
                return;
            }
            told = woken_;
            woken_ = false;
        }
        std::unique_lock lock(requests_);
        if (client_ != nullptr && !running()) {
            lose();
        }
        if (client_ == nullptr && lookingForServer_.load()) {
            // Opened without the request lock, so that the window never waits for it.
            if (steadyMs() - lostAtMs_ >= StoppingMs) {
                lock.unlock();
                jack_client_t* client = opener_.open(OpenLimit);
                lock.lock();
                if (client_ == nullptr) {
                    install(client);
                } else if (client != nullptr) { // the window reached one meanwhile
                    jack_client_close(client);
                }
            }
        } else if (client_ != nullptr && told) {
            portsUpdated();
        }
    }
}

} // namespace ladoton
