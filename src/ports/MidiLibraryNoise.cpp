#include "ports/MidiLibraryNoise.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdlib>

namespace ladoton {

namespace {
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
void ignoreJackMessage(const char*) {}
} // namespace

void silenceMidiLibraries() {
    snd_lib_error_set_handler(&ignoreAlsaError);
    jack_set_error_function(&ignoreJackMessage);
    jack_set_info_function(&ignoreJackMessage);
    // Every client the program opens passes JackNoStartServer already; this also covers a
    // libjack that looks at the environment first.
    setenv("JACK_NO_START_SERVER", "1", 1);
    unsetenv("JACK_START_SERVER");
}

bool alsaSequencerPresent() {
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0) {
        return false;
    }
    snd_seq_close(sequencer);
    return true;
}

} // namespace ladoton
