// A JACK MIDI source for the end-to-end tests: the client NAME with the output port NAME:output
// sends what it reads from standard input, one message a line in hex bytes ("90 30 40"), at
// the start of the next period. It ends at the end of its input, once all is sent.
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

jack_port_t* output = nullptr;
jack_ringbuffer_t* queue = nullptr;

int process(jack_nframes_t frames, void*) {
    void* buffer = jack_port_get_buffer(output, frames);
    jack_midi_clear_buffer(buffer);
    unsigned char size = 0;
    while (jack_ringbuffer_read_space(queue) > 0) {
        jack_ringbuffer_peek(queue, reinterpret_cast<char*>(&size), 1);
        std::vector<char> message(1 + size);
        jack_ringbuffer_read(queue, message.data(), message.size());
        jack_midi_event_write(buffer, 0, reinterpret_cast<jack_midi_data_t*>(message.data() + 1),
                              size);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s NAME < messages\n", argv[0]);
        return 2;
    }
    jack_client_t* client = jack_client_open(argv[1], JackNoStartServer, nullptr);
    if (client == nullptr) {
        std::fprintf(stderr, "no JACK server\n");
        return 1;
    }
    queue = jack_ringbuffer_create(1 << 16);
    output = jack_port_register(client, "output", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client, process, nullptr);
    if (output == nullptr || jack_activate(client) != 0) {
        std::fprintf(stderr, "cannot activate\n");
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream bytes(line);
        std::vector<char> message(1);
        unsigned value = 0;
        while (bytes >> std::hex >> value) {
            message.push_back(static_cast<char>(value));
        }
        message[0] = static_cast<char>(message.size() - 1);
        while (message.size() > 1 && jack_ringbuffer_write_space(queue) < message.size()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (message.size() > 1) {
            jack_ringbuffer_write(queue, message.data(), message.size());
        }
    }
    while (jack_ringbuffer_read_space(queue) > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    jack_client_close(client);
    return 0;
}
