/* Presses a key through XTEST and measures how long until its sound reaches a PipeWire sink,
 * heard on the sink's monitor. For each press prints "LATENCY_MS GAP QUIET_MS QUIET_AT_MS":
 * GAP 1 when the sound fell silent for a millisecond or more while the key was held, then the
 * longest silence while it was held and where that began, in ms after the onset. The key is
 * held HOLD_MS, and the probe waits PAUSE_MS before the next press.
 * Usage: sound_latency_probe SINK PRESSES HOLD_MS PAUSE_MS KEYCODE [click]
 *        With "click" the key goes to a window of the probe's own, whose bare stream (quantum
 *        256) starts a click when the key arrives: the floor of this measurement, the X server,
 *        PipeWire's quantum and the capture path without any program. */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <math.h>
#include <pipewire/pipewire.h>
#include <pthread.h>
#include <spa/param/audio/format-utils.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#define RATE 48000
#define THRESHOLD 0.003f

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct probe {
    struct pw_stream *capture, *click;
    _Atomic double pressed_at; /* 0: not waiting for an onset */
    _Atomic double onset_at;
    _Atomic int click_pending;
    _Atomic int gap;
    double watch_until; /* capture thread only */
    int quiet_run;
    _Atomic int longest_quiet; /* frames */
    _Atomic long quiet_at;     /* frames after the onset */
    long since_onset;
};

static void on_capture(void *data) {
    struct probe *p = data;
    struct pw_buffer *b = pw_stream_dequeue_buffer(p->capture);
    if (b == NULL) return;
    double arrived = now_ms();
    struct spa_data *d = &b->buffer->datas[0];
    const float *s = d->data;
    uint32_t frames = d->chunk->size / (2 * sizeof(float));
    for (uint32_t i = 0; s != NULL && i < frames; i++) {
        float v = fmaxf(fabsf(s[2 * i]), fabsf(s[2 * i + 1]));
        /* The time the buffer reached the probe: what the capture path adds is part of the
         * figure (the floor shows how much). */
        double at = arrived;
        if (atomic_load(&p->pressed_at) > 0 && atomic_load(&p->onset_at) == 0 && v > THRESHOLD) {
            atomic_store(&p->onset_at, at);
            p->quiet_run = 0;
            p->since_onset = 0;
        } else if (atomic_load(&p->onset_at) > 0 && at < p->watch_until) {
            p->since_onset++;
            p->quiet_run = v < 1e-4f ? p->quiet_run + 1 : 0;
            if (p->quiet_run > atomic_load(&p->longest_quiet)) {
                atomic_store(&p->longest_quiet, p->quiet_run);
                atomic_store(&p->quiet_at, p->since_onset - p->quiet_run);
            }
            if (p->quiet_run >= RATE / 1000) atomic_store(&p->gap, 1);
        }
    }
    pw_stream_queue_buffer(p->capture, b);
}

static void on_click(void *data) {
    struct probe *p = data;
    struct pw_buffer *b = pw_stream_dequeue_buffer(p->click);
    if (b == NULL) return;
    struct spa_data *d = &b->buffer->datas[0];
    float *s = d->data;
    uint32_t frames = d->maxsize / (2 * sizeof(float));
    if (b->requested && b->requested < frames) frames = b->requested;
    int click = atomic_exchange(&p->click_pending, 0);
    for (uint32_t i = 0; s != NULL && i < frames; i++)
        s[2 * i] = s[2 * i + 1] = click && i < 480 ? 0.5f : 0.0f;
    d->chunk->offset = 0;
    d->chunk->stride = 2 * sizeof(float);
    d->chunk->size = frames * 2 * sizeof(float);
    pw_stream_queue_buffer(p->click, b);
}

/* The floor's window: a click starts when a key press reaches it. */
static void *click_on_keys(void *data) {
    struct probe *p = data;
    Display *display = XOpenDisplay(NULL);
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0,
                                        0, 0);
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
    XMapRaised(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            XFlush(display);
        } else if (event.type == KeyPress) {
            atomic_store(&p->click_pending, 1);
        }
    }
    return NULL;
}

static struct pw_stream *connect_stream(struct pw_thread_loop *loop, const char *name,
                                        struct pw_properties *props,
                                        const struct pw_stream_events *events, void *data,
                                        enum spa_direction direction) {
    uint8_t buffer[1024];
    struct spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
    struct spa_audio_info_raw info = {.format = SPA_AUDIO_FORMAT_F32, .rate = RATE, .channels = 2};
    info.position[0] = SPA_AUDIO_CHANNEL_FL;
    info.position[1] = SPA_AUDIO_CHANNEL_FR;
    const struct spa_pod *params[1] = {
        spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
    struct pw_stream *stream =
        pw_stream_new_simple(pw_thread_loop_get_loop(loop), name, props, events, data);
    pw_stream_connect(stream, direction, PW_ID_ANY,
                      PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS |
                          PW_STREAM_FLAG_RT_PROCESS,
                      params, 1);
    return stream;
}

int main(int argc, char **argv) {
    if (argc != 6 && !(argc == 7 && strcmp(argv[6], "click") == 0)) {
        fprintf(stderr, "usage: %s SINK PRESSES HOLD_MS PAUSE_MS KEYCODE [click]\n", argv[0]);
        return 2;
    }
    const char *sink = argv[1];
    int presses = atoi(argv[2]), hold = atoi(argv[3]), pause = atoi(argv[4]);
    int keycode = atoi(argv[5]);
    int clicking = argc == 7;
    Display *display = NULL;
    if ((display = XOpenDisplay(NULL)) == NULL) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    pw_init(&argc, &argv);
    static struct probe p;
    struct pw_thread_loop *loop = pw_thread_loop_new("probe", NULL);
    static const struct pw_stream_events capture_events = {PW_VERSION_STREAM_EVENTS,
                                                           .process = on_capture};
    static const struct pw_stream_events click_events = {PW_VERSION_STREAM_EVENTS,
                                                         .process = on_click};
    pw_thread_loop_lock(loop);
    pw_thread_loop_start(loop);
    /* The capture asks for the quantum the floor's stream and the program's ask for (256), so
     * that the graph does not fall back to the default 1024 while the player's stream rests. */
    p.capture = connect_stream(
        loop, "latency-probe",
        pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Capture",
                          PW_KEY_STREAM_CAPTURE_SINK, "true", PW_KEY_TARGET_OBJECT, sink,
                          PW_KEY_NODE_LATENCY, "256/48000", NULL),
        &capture_events, &p, PW_DIRECTION_INPUT);
    if (clicking)
        p.click = connect_stream(loop, "latency-floor-click",
                                 pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio",
                                                   PW_KEY_MEDIA_CATEGORY, "Playback",
                                                   PW_KEY_TARGET_OBJECT, sink,
                                                   PW_KEY_NODE_LATENCY, "256/48000", NULL),
                                 &click_events, &p, PW_DIRECTION_OUTPUT);
    pw_thread_loop_unlock(loop);
    pthread_t window_thread;
    if (clicking) pthread_create(&window_thread, NULL, click_on_keys, &p);
    usleep(1500 * 1000);
    for (int i = 0; i < presses; i++) {
        atomic_store(&p.onset_at, 0);
        atomic_store(&p.gap, 0);
        atomic_store(&p.longest_quiet, 0);
        double pressed = now_ms();
        p.watch_until = pressed + hold;
        atomic_store(&p.pressed_at, pressed);
        XTestFakeKeyEvent(display, keycode, True, 0);
        XSync(display, False);
        usleep(hold * 1000);
        XTestFakeKeyEvent(display, keycode, False, 0);
        XSync(display, False);
        double onset = atomic_load(&p.onset_at);
        atomic_store(&p.pressed_at, 0);
        if (onset > 0)
            printf("%.2f %d %.1f %.1f\n", onset - pressed, atomic_load(&p.gap),
                   atomic_load(&p.longest_quiet) * 1e3 / RATE,
                   atomic_load(&p.quiet_at) * 1e3 / RATE);
        else
            printf("lost 0\n");
        fflush(stdout);
        usleep(pause * 1000);
    }
    pw_thread_loop_lock(loop);
    pw_stream_destroy(p.capture);
    if (p.click) pw_stream_destroy(p.click);
    pw_thread_loop_unlock(loop);
    pw_thread_loop_stop(loop);
    return 0;
}
