// An ALSA sequencer MIDI source for the end-to-end tests: the client NAME with the readable port
// "output" sends what it reads from standard input, one message a line in hex bytes
// ("90 30 40"), to whoever is subscribed. It ends at the end of its input.
#include <alsa/asoundlib.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s NAME < messages\n", argv[0]);
        return 2;
    }
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) {
        std::fprintf(stderr, "no ALSA sequencer\n");
        return 1;
    }
    snd_seq_set_client_name(sequencer, argv[1]);
    const int port = snd_seq_create_simple_port(
        sequencer, "output", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    snd_midi_event_t* encoder = nullptr;
    if (port < 0 || snd_midi_event_new(16, &encoder) < 0) {
        std::fprintf(stderr, "cannot make the port\n");
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream text(line);
        std::vector<unsigned char> bytes;
        unsigned value = 0;
        while (text >> std::hex >> value) {
            bytes.push_back(static_cast<unsigned char>(value));
        }
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_midi_event_reset_encode(encoder);
        if (bytes.empty() ||
            snd_midi_event_encode(encoder, bytes.data(), static_cast<long>(bytes.size()), &event) <=
                0 ||
            event.type == SND_SEQ_EVENT_NONE) {
            continue;
        }
        snd_seq_ev_set_source(&event, port);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        snd_seq_event_output_direct(sequencer, &event);
    }
    snd_midi_event_free(encoder);
    snd_seq_close(sequencer);
    return 0;
}
