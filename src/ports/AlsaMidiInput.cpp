#include "ports/AlsaMidiInput.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <vector>

namespace ladoton {

namespace {

constexpr unsigned SourceCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;

bool isChannelEvent(snd_seq_event_type_t type) {
    switch (type) {
    case SND_SEQ_EVENT_NOTEON:
    case SND_SEQ_EVENT_NOTEOFF:
    case SND_SEQ_EVENT_KEYPRESS:
    case SND_SEQ_EVENT_CONTROLLER:
    case SND_SEQ_EVENT_PGMCHANGE:
    case SND_SEQ_EVENT_CHANPRESS:
    case SND_SEQ_EVENT_PITCHBEND:
        return true;
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<AlsaMidiInput> AlsaMidiInput::open(InputQueue& queue, InputWakeup& wakeup) {
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
        return nullptr;
    }
    snd_seq_set_client_name(sequencer, ClientName);
    const int port = snd_seq_create_simple_port(
        sequencer, PortName, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0) {
        snd_seq_close(sequencer);
        return nullptr;
    }
    // The system's announcements tell when a connection to the port goes away.
    snd_seq_connect_from(sequencer, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    return std::unique_ptr<AlsaMidiInput>(new AlsaMidiInput(sequencer, port, queue, wakeup));
}

AlsaMidiInput::AlsaMidiInput(snd_seq_t* sequencer, int port, InputQueue& queue, InputWakeup& wakeup)
    : sequencer_(sequencer), port_(port), ownClient_(snd_seq_client_id(sequencer)), queue_(queue),
      wakeup_(wakeup), stopFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      reader_(&AlsaMidiInput::run, this) {}

AlsaMidiInput::~AlsaMidiInput() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
    reader_.join();
    ::close(stopFd_);
    snd_seq_close(sequencer_);
}

template <typename Visit> void AlsaMidiInput::forEachSource(Visit visit) const {
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(sequencer_, client) >= 0) {
        const int number = snd_seq_client_info_get_client(client);
        // The system's timer and announcements, and the program's own clients (its output
        // would play back into its input).
        if (number == SND_SEQ_CLIENT_SYSTEM || number == ownClient_ ||
            snd_seq_client_info_get_pid(client) == getpid()) {
            continue;
        }
        snd_seq_port_info_set_client(port, number);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(sequencer_, port) >= 0) {
            if ((snd_seq_port_info_get_capability(port) & SourceCaps) != SourceCaps ||
                (snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_NO_EXPORT) != 0) {
                continue;
            }
            visit(std::string(snd_seq_client_info_get_name(client)) + ":" +
                      snd_seq_port_info_get_name(port),
                  Address{number, snd_seq_port_info_get_port(port)});
        }
    }
}

std::vector<std::string> AlsaMidiInput::sourcePorts() const {
    std::vector<std::string> names;
    forEachSource([&](std::string name, Address) { names.push_back(std::move(name)); });
    return names;
}

bool AlsaMidiInput::findSource(const std::string& source, Address& address) const {
    bool found = false;
    forEachSource([&](const std::string& name, Address at) {
        if (!found && name == source) {
            address = at;
            found = true;
        }
    });
    return found;
}

bool AlsaMidiInput::connectSource(const std::string& source) {
    Address address{};
    return findSource(source, address) && subscribe(address, true);
}

void AlsaMidiInput::disconnectSource(const std::string& source) {
    Address address{};
    if (findSource(source, address)) {
        subscribe(address, false);
    }
}

bool AlsaMidiInput::subscribe(const Address& source, bool connect) {
    const int result = connect
                           ? snd_seq_connect_from(sequencer_, port_, source.client, source.port)
                           : snd_seq_disconnect_from(sequencer_, port_, source.client, source.port);
    return result == 0 || (connect && result == -EBUSY); // already connected
}

void AlsaMidiInput::run() {
    snd_midi_event_t* decoder = nullptr;
    if (snd_midi_event_new(16, &decoder) < 0) {
        return;
    }
    snd_midi_event_no_status(decoder, 1); // every message with its status byte
    const int count = snd_seq_poll_descriptors_count(sequencer_, POLLIN);
    std::vector<pollfd> fds(static_cast<std::size_t>(count) + 1);
    snd_seq_poll_descriptors(sequencer_, fds.data(), static_cast<unsigned>(count), POLLIN);
    fds.back() = {stopFd_, POLLIN, 0};
    while (::poll(fds.data(), fds.size(), -1) >= 0 && fds.back().revents == 0) {
        readEvents(decoder);
    }
    snd_midi_event_free(decoder);
}

void AlsaMidiInput::readEvents(snd_midi_event_t* decoder) {
    bool arrived = false;
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int result = snd_seq_event_input(sequencer_, &event);
        if (result == -ENOSPC) {
            // The sequencer dropped events that may have held note-offs.
            queue_.markLoss();
            arrived = true;
            continue;
        }
        if (result < 0 || event == nullptr) {
            break;
        }
        if (event->type == SND_SEQ_EVENT_PORT_UNSUBSCRIBED &&
            event->data.connect.dest.client == ownClient_ &&
            event->data.connect.dest.port == port_) {
            queue_.markLoss();
            arrived = true;
        } else if (isChannelEvent(event->type)) {
            std::array<unsigned char, 4> bytes{};
            const long size = snd_midi_event_decode(decoder, bytes.data(), bytes.size(), event);
            const auto message = size > 0
                                     ? channelMessage(bytes.data(), static_cast<std::size_t>(size))
                                     : std::nullopt;
            if (message) {
                queue_.push(*message);
                arrived = true;
            }
        }
    }
    if (arrived) {
        wakeup_.signal();
    }
}

} // namespace ladoton
