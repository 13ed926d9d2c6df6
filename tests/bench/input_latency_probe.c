// Measures how late the program's note-ons come out, with two JACK clients: "sender" with a
// MIDI output port (sender:out, to connect to Ладотон:input) and "probe" with a MIDI input
// port (probe:in, the program's device). It waits for a line on standard input, then measures TRIALS of each:
// "midi", a note-on sent at the start of a period, to its note-on arriving at probe:in, in
// frames of the server; "key", a key pressed through XTEST (X keycode), to its note-on
// arriving, on JACK's clock. Prints "midi MS" and "key MS", one line a trial.
// Usage: input_latency_probe TRIALS KEYCODE
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static jack_client_t* client;
static jack_client_t* sender;
static jack_port_t* out;
static jack_port_t* in;
static atomic_int sendNow;          // 1: send a note-on at the next period
static atomic_uint sentFrame;       // the frame it was sent at
static atomic_ullong arrivedTime;   // JACK time of the note-on's arrival, µs; 0: none yet
static atomic_uint arrivedFrame;

static int send(jack_nframes_t frames, void* unused) {
    (void)unused;
    void* outBuffer = jack_port_get_buffer(out, frames);
    jack_midi_clear_buffer(outBuffer);
    const jack_nframes_t start = jack_last_frame_time(sender);
    int expected = 1;
    if (atomic_compare_exchange_strong(&sendNow, &expected, 0)) {
        const jack_midi_data_t on[3] = {0x90, 60, 100};
        jack_midi_event_write(outBuffer, 0, on, 3);
        atomic_store(&sentFrame, start);
    } else if (expected == 2) {
        atomic_store(&sendNow, 0);
        const jack_midi_data_t off[3] = {0x80, 60, 0};
        jack_midi_event_write(outBuffer, 0, off, 3);
    }
    return 0;
}

static int receive(jack_nframes_t frames, void* unused) {
    (void)unused;
    const jack_nframes_t start = jack_last_frame_time(client);
    void* inBuffer = jack_port_get_buffer(in, frames);
    const uint32_t count = jack_midi_get_event_count(inBuffer);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, inBuffer, i) == 0 && event.size == 3 &&
            (event.buffer[0] & 0xF0) == 0x90 && event.buffer[2] > 0 &&
            atomic_load(&arrivedTime) == 0) {
            atomic_store(&arrivedFrame, start + event.time);
            atomic_store(&arrivedTime, jack_frames_to_time(client, start + event.time));
        }
    }
    return 0;
}

static int waitForArrival(void) {
    for (int tries = 0; tries < 2000 && atomic_load(&arrivedTime) == 0; ++tries) {
        usleep(1000);
    }
    return atomic_load(&arrivedTime) != 0;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s TRIALS KEYCODE\n", argv[0]);
        return 2;
    }
    const int trials = atoi(argv[1]);
    const int keycode = atoi(argv[2]);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    // Two clients, so that the server runs the sender, the program and the probe in that order
    // in one period, as it would a keyboard and a synthesizer.
    client = jack_client_open("probe", JackNoStartServer, NULL);
    sender = jack_client_open("sender", JackNoStartServer, NULL);
    if (client == NULL || sender == NULL) {
        fprintf(stderr, "no JACK server\n");
        return 1;
    }
    out = jack_port_register(sender, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    in = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client, receive, NULL);
    jack_set_process_callback(sender, send, NULL);
    jack_activate(client);
    jack_activate(sender);
    // Ready for the script to connect the ports and start the program.
    printf("ready\n");
    fflush(stdout);
    if (getchar() == EOF) {
        return 1;
    }
    const double frameMs = 1000.0 / jack_get_sample_rate(client);
    for (int trial = 0; trial < 2 * trials; ++trial) {
        const int keyMode = trial >= trials;
        atomic_store(&arrivedTime, 0);
        jack_time_t pressed = 0;
        if (keyMode) {
            XTestFakeKeyEvent(display, (unsigned)keycode, True, CurrentTime);
            XFlush(display);
            pressed = jack_get_time();
        } else {
            atomic_store(&sendNow, 1);
        }
        if (!waitForArrival()) {
            fprintf(stderr, "trial %d: no note-on arrived\n", trial);
            return 1;
        }
        if (keyMode) {
            printf("key %.3f\n",
                   (double)((long long)atomic_load(&arrivedTime) - (long long)pressed) / 1000.0);
            XTestFakeKeyEvent(display, (unsigned)keycode, False, CurrentTime);
            XFlush(display);
        } else {
            printf("midi %.3f\n", (atomic_load(&arrivedFrame) - atomic_load(&sentFrame)) * frameMs);
            atomic_store(&sendNow, 2);
        }
        fflush(stdout);
        usleep(150000);
    }
    jack_client_close(sender);
    jack_client_close(client);
    return 0;
}
