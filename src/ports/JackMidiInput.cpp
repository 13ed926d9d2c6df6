#include "ports/JackMidiInput.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>

namespace ladoton {

std::vector<std::string> JackMidiInput::sources() const {
    if (port_.load() == nullptr) {
        return {};
    }
    return client_.otherPorts(JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
}

bool JackMidiInput::connectSource(const std::string& source) {
    return client_.withClient([&](jack_client_t* client) {
        jack_port_t* port = port_.load();
        if (client == nullptr || port == nullptr ||
            jack_port_by_name(client, source.c_str()) == nullptr) {
            return false;
        }
        const int result = jack_connect(client, source.c_str(), jack_port_name(port));
        const bool connected = result == 0 || result == EEXIST;
        if (connected) {
            source_ = source;
            sourceAway_ = false;
        }
        return connected;
    });
}

void JackMidiInput::disconnectSource(const std::string& source) {
    client_.withClient([&](jack_client_t* client) {
        if (source == source_) {
            source_.clear();
        }
        if (client != nullptr && port_.load() != nullptr) {
            jack_disconnect(client, source.c_str(), jack_port_name(port_.load()));
        }
    });
}

void JackMidiInput::attach(jack_client_t* client) {
    port_.store(jack_port_register(client, PortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0));
}

void JackMidiInput::detach() {
    port_.store(nullptr);
    sourceAway_ = !source_.empty();
    lose();
}

void JackMidiInput::lose() {
    queue_.markLoss();
    wakeup_.signal();
}

void JackMidiInput::connectWished(jack_client_t* client) {
    jack_port_t* port = port_.load();
    if (port == nullptr || source_.empty()) {
        return;
    }
    const bool there = jack_port_by_name(client, source_.c_str()) != nullptr;
    if (there && sourceAway_) {
        sourceAway_ = false;
        jack_connect(client, source_.c_str(), jack_port_name(port));
    }
    sourceAway_ = sourceAway_ || !there;
}

// On a thread of libjack's: a source that goes away takes its held notes' note-offs along.
void JackMidiInput::connectionChanged(jack_port_t* /*from*/, jack_port_t* to, bool made) {
    if (!made && to != nullptr && to == port_.load()) {
        lose();
    }
}

// On the server's process thread: the input's channel messages are copied for the window's
// thread, which is woken. System messages (clock, active sensing, system exclusive) are no
// business of the program and never wake it.
void JackMidiInput::process(unsigned frames) {
    jack_port_t* port = port_.load();
    if (port == nullptr) {
        return;
    }
    void* buffer = jack_port_get_buffer(port, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    bool arrived = false;
    for (uint32_t index = 0; index < count; ++index) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, index) != 0) {
            continue;
        }
        if (const std::optional<ShortMessage> message = channelMessage(event.buffer, event.size)) {
            queue_.push(*message);
            arrived = true;
        }
    }
    if (arrived) {
        wakeup_.signal();
    }
}

} // namespace ladoton
