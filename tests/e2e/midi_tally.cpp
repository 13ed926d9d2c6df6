// A MIDI sink for the end-to-end tests that keeps up with any burst: the JACK client NAME with the
// input port "input" counts what it receives and follows which notes sound, in its process
// callback, without a queue that could overflow. Each line read from standard input asks for the
// tally: "MESSAGES SOUNDING", SOUNDING the notes left on (status 0x9n, velocity above 0, without a
// note-off since).
// Usage: ladoton_midi_tally NAME
#include <jack/jack.h>
#include <jack/midiport.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

jack_port_t* input = nullptr;
std::atomic<long> messages{0};
std::array<std::atomic<bool>, 16 * 128> sounding{};

int process(jack_nframes_t frames, void*) {
    void* buffer = jack_port_get_buffer(input, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    for (uint32_t index = 0; index < count; ++index) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, index) != 0 || event.size < 3) {
            messages.fetch_add(1);
            continue;
        }
        messages.fetch_add(1);
        const int kind = event.buffer[0] & 0xF0;
        const std::size_t note = (event.buffer[0] & 0x0F) * 128u + (event.buffer[1] & 0x7F);
        if (kind == 0x90 || kind == 0x80) {
            sounding[note].store(kind == 0x90 && event.buffer[2] > 0);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s NAME\n", argv[0]);
        return 2;
    }
    jack_client_t* client = jack_client_open(argv[1], JackNoStartServer, nullptr);
    if (client == nullptr) {
        std::fprintf(stderr, "no JACK server\n");
        return 1;
    }
    input = jack_port_register(client, "input", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client, process, nullptr);
    if (input == nullptr || jack_activate(client) != 0) {
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        long on = 0;
        for (const auto& note : sounding) {
            on += note.load() ? 1 : 0;
        }
        std::printf("%ld %ld\n", messages.load(), on);
        std::fflush(stdout);
    }
    jack_client_close(client);
    return 0;
}
