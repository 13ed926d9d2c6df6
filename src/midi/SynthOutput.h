#pragma once

#include "midi/FluidSynthLibrary.h"
#include "midi/RestingRenderer.h"

#include <memory>
#include <string>

namespace ladoton {

// The audio output a synthesizer plays on, rendering through its RestingRenderer.
class SynthOutput {
  public:
    virtual ~SynthOutput() = default;
    // After the renderer was woken: an output that stopped while it rested starts again.
    virtual void wake() {}
};

// PipeWire's own stream; nullptr without libpipewire or a PipeWire server.
std::unique_ptr<SynthOutput> openPipeWireOutput(RestingRenderer& renderer, int sampleRate,
                                                int quantum);

// FluidSynth's driver `driverName`, set as the settings' "audio.driver"; nullptr when it does
// not open. It renders through the renderer, so at rest it only hands silence on.
std::unique_ptr<SynthOutput> openFluidSynthDriver(const FluidSynthApi& api,
                                                  const std::string& driverName,
                                                  fluid_settings_t* settings, fluid_synth_t* synth,
                                                  RestingRenderer& renderer);

} // namespace ladoton
