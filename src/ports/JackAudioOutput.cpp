#include "ports/JackAudioOutput.h"

#include <jack/jack.h>

#include <algorithm>

namespace ladoton {

bool JackAudioOutput::open(Source& source) {
    return client_.withClient([&](jack_client_t* client) {
        close();
        if (client == nullptr || !registerPorts(client)) {
            return false;
        }
        wished_ = &source;
        sampleRate_ = jack_get_sample_rate(client);
        source_.store(&source);
        client_.portsUpdated();
        return true;
    });
}

void JackAudioOutput::close() {
    client_.withClient([&](jack_client_t* client) {
        wished_ = nullptr;
        source_.store(nullptr);
        if (client != nullptr && left_.load() != nullptr) {
            unregisterPorts(client);
            client_.portsUpdated();
        }
    });
}

bool JackAudioOutput::registerPorts(jack_client_t* client) {
    playbackConnected_ = false;
    left_.store(
        jack_port_register(client, LeftPortName, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0));
    right_.store(
        jack_port_register(client, RightPortName, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0));
    if (left_.load() == nullptr || right_.load() == nullptr) {
        unregisterPorts(client);
        return false;
    }
    return true;
}

void JackAudioOutput::unregisterPorts(jack_client_t* client) {
    jack_port_t* left = left_.exchange(nullptr);
    jack_port_t* right = right_.exchange(nullptr);
    client_.waitForCycle();
    for (jack_port_t* port : {left, right}) {
        if (port != nullptr) {
            jack_port_unregister(client, port);
        }
    }
}

// The source renders at the rate it was opened at: on a server of another rate it stays silent.
void JackAudioOutput::attach(jack_client_t* client) {
    if (wished_ != nullptr && jack_get_sample_rate(client) == sampleRate_ &&
        registerPorts(client)) {
        source_.store(wished_);
    }
}

void JackAudioOutput::detach() {
    source_.store(nullptr);
    left_.store(nullptr);
    right_.store(nullptr);
}

// A JACK server has no default output: the system's playback ports are it.
void JackAudioOutput::connectWished(jack_client_t* client) {
    if (left_.load() == nullptr || playbackConnected_) {
        return;
    }
    const char** playback = jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                           JackPortIsPhysical | JackPortIsInput);
    if (playback == nullptr) {
        return;
    }
    if (playback[0] != nullptr) {
        jack_connect(client, jack_port_name(left_.load()), playback[0]);
        jack_connect(client, jack_port_name(right_.load()),
                     playback[1] != nullptr ? playback[1] : playback[0]);
        playbackConnected_ = true;
    }
    jack_free(static_cast<void*>(playback));
}

void JackAudioOutput::process(unsigned frames) {
    Source* source = source_.load();
    jack_port_t* left = left_.load();
    jack_port_t* right = right_.load();
    if (left == nullptr || right == nullptr) {
        return;
    }
    auto* leftSamples = static_cast<float*>(jack_port_get_buffer(left, frames));
    auto* rightSamples = static_cast<float*>(jack_port_get_buffer(right, frames));
    if (source != nullptr) {
        source->render(leftSamples, rightSamples, frames);
    } else { // the ports are about to go
        std::fill_n(leftSamples, frames, 0.0F);
        std::fill_n(rightSamples, frames, 0.0F);
    }
}

} // namespace ladoton
