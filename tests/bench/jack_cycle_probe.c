// Times a JACK server's cycles: the client NAME with an audio input port (NAME:in), to connect
// after the client under test so that each cycle reaches the probe only once that client is
// done with it, notes on JACK's clock when each cycle reaches it. On "ready" it counts; when it
// reads a line on standard input (or its end) it prints
// "cycles N period_ms P longest_ms L late K mean_ms M behind B", K the cycles that came more
// than two periods after the one before, B those more than a quarter of a period late.
// Usage: jack_cycle_probe NAME
#include <jack/jack.h>
#include <stdatomic.h>
#include <stdio.h>

static atomic_ullong last;    // when the last cycle came, µs
static atomic_ullong longest; // the longest time between two cycles, µs
static atomic_ullong total;
static atomic_long cycles;
static atomic_long late;
static atomic_long behind; // more than a quarter of a period late
static jack_time_t period;

static int process(jack_nframes_t frames, void* unused) {
    (void)frames;
    (void)unused;
    const jack_time_t now = jack_get_time();
    const jack_time_t before = atomic_exchange(&last, now);
    if (before == 0) {
        return 0;
    }
    const jack_time_t gap = now - before;
    if (gap > atomic_load(&longest)) {
        atomic_store(&longest, gap);
    }
    if (gap > 2 * period) {
        atomic_fetch_add(&late, 1);
    }
    if (4 * gap > 5 * period) {
        atomic_fetch_add(&behind, 1);
    }
    atomic_fetch_add(&total, gap);
    atomic_fetch_add(&cycles, 1);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s NAME\n", argv[0]);
        return 2;
    }
    jack_client_t* client = jack_client_open(argv[1], JackNoStartServer, NULL);
    if (client == NULL) {
        fprintf(stderr, "no JACK server\n");
        return 1;
    }
    period = (jack_time_t)jack_get_buffer_size(client) * 1000000 / jack_get_sample_rate(client);
    jack_port_register(client, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client, process, NULL);
    if (jack_activate(client) != 0) {
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    char line[64];
    if (fgets(line, sizeof line, stdin) == NULL) {
        line[0] = 0; // the end of the input stops it as well
    }
    jack_deactivate(client);
    const long count = atomic_load(&cycles);
    printf("cycles %ld period_ms %.2f longest_ms %.2f late %ld mean_ms %.2f behind %ld\n", count,
           period / 1e3, atomic_load(&longest) / 1e3, atomic_load(&late),
           count > 0 ? (double)atomic_load(&total) / count / 1e3 : 0.0, atomic_load(&behind));
    jack_client_close(client);
    return 0;
}
