// Listens to a JACK audio port and prints the pitch of the first sound it hears, in Hz.
// Usage: ladoton_jack_pitch PORT [SECONDS]  (exit status 1 when nothing sounds in time)
#include "AudioAnalysis.h"

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <thread>
#include <vector>

namespace {

struct Recording {
    jack_port_t* input = nullptr;
    std::vector<float> samples;
    std::atomic<std::size_t> length = 0;
};

int process(jack_nframes_t frames, void* data) {
    auto* recording = static_cast<Recording*>(data);
    const auto* buffer = static_cast<const float*>(jack_port_get_buffer(recording->input, frames));
    std::size_t length = recording->length.load(std::memory_order_relaxed);
    for (jack_nframes_t i = 0; i < frames && length < recording->samples.size(); ++i) {
        recording->samples[length++] = buffer[i];
    }
    recording->length.store(length, std::memory_order_release);
    return 0;
}

void quiet(const char*) {}

// Where the sound starts: the first 10 ms block clearly above silence.
std::optional<std::size_t> onset(std::span<const float> samples, std::size_t block) {
    for (std::size_t start = 0; start + block <= samples.size(); start += block) {
        if (ladoton::testing::rms(samples.subspan(start, block)) > 1e-3) {
            return start;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PORT [SECONDS]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20;
    jack_set_error_function(&quiet);
    jack_set_info_function(&quiet);
    jack_client_t* client = jack_client_open("ladoton-pitch", JackNoStartServer, nullptr);
    if (client == nullptr) {
        std::fprintf(stderr, "no JACK server\n");
        return 2;
    }
    const double rate = jack_get_sample_rate(client);
    Recording recording;
    recording.samples.resize(static_cast<std::size_t>(rate * (seconds + 1)));
    recording.input =
        jack_port_register(client, "input", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client, &process, &recording);
    if (recording.input == nullptr || jack_activate(client) != 0 ||
        jack_connect(client, argv[1], jack_port_name(recording.input)) != 0) {
        std::fprintf(stderr, "cannot listen to %s\n", argv[1]);
        return 2;
    }
    std::puts("listening");
    std::fflush(stdout);

    // Skip the attack, then measure over 300 ms.
    const auto block = static_cast<std::size_t>(rate / 100);
    const auto skip = static_cast<std::size_t>(rate * 0.05);
    const auto span = static_cast<std::size_t>(rate * 0.3);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::size_t length = recording.length.load(std::memory_order_acquire);
        const std::span<const float> heard(recording.samples.data(), length);
        const auto start = onset(heard, block);
        if (start && *start + skip + span <= length) {
            jack_client_close(client);
            const auto pitch =
                ladoton::testing::fundamental(heard.subspan(*start + skip, span), rate);
            if (!pitch) {
                std::puts("no pitch");
                return 1;
            }
            std::printf("%.2f\n", *pitch);
            return 0;
        }
    }
    jack_client_close(client);
    std::puts("silence");
    return 1;
}
