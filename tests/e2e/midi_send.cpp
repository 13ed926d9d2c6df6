// A MIDI source for the end-to-end tests: the JACK client or ALSA sequencer client NAME with the
// output port "output" sends what it reads from standard input, one message a line in hex bytes
// ("90 30 40"), on JACK at the start of the next period. It ends at the end of its input.
// Usage: ladoton_midi_send jack|alsa NAME < messages
#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

jack_port_t* jackOutput = nullptr;
jack_ringbuffer_t* jackQueue = nullptr; // messages as a length byte, then the bytes

int jackProcess(jack_nframes_t frames, void*) {
    void* buffer = jack_port_get_buffer(jackOutput, frames);
    jack_midi_clear_buffer(buffer);
    unsigned char message[256];
    while (jack_ringbuffer_read_space(jackQueue) > 0) {
        jack_ringbuffer_read(jackQueue, reinterpret_cast<char*>(message), 1);
        jack_ringbuffer_read(jackQueue, reinterpret_cast<char*>(message + 1), message[0]);
        jack_midi_event_write(buffer, 0, message + 1, message[0]);
    }
    return 0;
}

std::function<void(std::vector<unsigned char>&)> openJack(const char* name) {
    jack_client_t* client = jack_client_open(name, JackNoStartServer, nullptr);
    if (client == nullptr) {
        return nullptr;
    }
    jackQueue = jack_ringbuffer_create(1 << 16);
    jackOutput = jack_port_register(client, "output", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client, jackProcess, nullptr);
    if (jackOutput == nullptr || jack_activate(client) != 0) {
        return nullptr;
    }
    return [client](std::vector<unsigned char>& bytes) {
        if (bytes.empty()) { // the end: what is queued goes out first
            while (jack_ringbuffer_read_space(jackQueue) > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            jack_client_close(client);
            return;
        }
        bytes.insert(bytes.begin(), static_cast<unsigned char>(bytes.size()));
        while (jack_ringbuffer_write_space(jackQueue) < bytes.size()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        jack_ringbuffer_write(jackQueue, reinterpret_cast<char*>(bytes.data()), bytes.size());
    };
}

std::function<void(std::vector<unsigned char>&)> openAlsa(const char* name) {
    snd_seq_t* sequencer = nullptr;
    snd_midi_event_t* encoder = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0 ||
        snd_midi_event_new(16, &encoder) < 0) {
        return nullptr;
    }
    snd_seq_set_client_name(sequencer, name);
    const int port = snd_seq_create_simple_port(
        sequencer, "output", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    return [=](std::vector<unsigned char>& bytes) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_midi_event_reset_encode(encoder);
        if (bytes.empty()) {
            snd_seq_close(sequencer);
        } else if (snd_midi_event_encode(encoder, bytes.data(), static_cast<long>(bytes.size()),
                                         &event) > 0 &&
                   event.type != SND_SEQ_EVENT_NONE) {
            snd_seq_ev_set_source(&event, port);
            snd_seq_ev_set_subs(&event);
            snd_seq_ev_set_direct(&event);
            snd_seq_event_output_direct(sequencer, &event);
        }
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s jack|alsa NAME < messages\n", argv[0]);
        return 2;
    }
    const auto send = std::strcmp(argv[1], "alsa") == 0 ? openAlsa(argv[2]) : openJack(argv[2]);
    if (!send) {
        std::fprintf(stderr, "cannot make the port %s:output\n", argv[2]);
        return 1;
    }
    std::string line;
    std::vector<unsigned char> bytes;
    while (std::getline(std::cin, line)) {
        std::istringstream text(line);
        bytes.clear();
        unsigned value = 0;
        while (text >> std::hex >> value) {
            bytes.push_back(static_cast<unsigned char>(value));
        }
        if (!bytes.empty()) {
            send(bytes);
        }
    }
    bytes.clear();
    send(bytes);
    return 0;
}
