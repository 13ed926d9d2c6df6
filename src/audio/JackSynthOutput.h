#pragma once

#include "audio/RestingRenderer.h"
#include "audio/SynthOutput.h"

#include <memory>

namespace ladoton {

class JackClient;

// The synthesizer on JACK through the audio ports "left" and "right" of the program's own JACK
// client, the one of the MIDI ports: one client woken each period instead of two, and nothing
// rendered while the synthesizer rests. Null when no server runs, or when the server's sample
// rate is not `sampleRate` (FluidSynth's own JACK driver then serves).
std::unique_ptr<SynthOutput> openJackSynthOutput(JackClient& client, RestingRenderer& renderer,
                                                 int sampleRate);

} // namespace ladoton
