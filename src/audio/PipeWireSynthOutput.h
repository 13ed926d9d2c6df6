#pragma once

#include "audio/RestingRenderer.h"
#include "audio/SynthOutput.h"

#include <memory>

namespace ladoton {

// The synthesizer on PipeWire's own stream; nullptr without libpipewire or a PipeWire server.
std::unique_ptr<SynthOutput> openPipeWireOutput(RestingRenderer& renderer, int sampleRate,
                                                int quantum);

} // namespace ladoton
