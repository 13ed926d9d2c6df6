#pragma once

#include "audio/RestingRenderer.h"
#include "audio/SynthOutput.h"
#include "synth/FluidSynthLibrary.h"

#include <memory>
#include <string>

namespace ladoton {

// FluidSynth's driver `driverName`, set as the settings' "audio.driver"; nullptr when it does
// not open. It renders through the renderer, so at rest it only hands silence on.
std::unique_ptr<SynthOutput> openFluidSynthDriver(const FluidSynthApi& api,
                                                  const std::string& driverName,
                                                  fluid_settings_t* settings, fluid_synth_t* synth,
                                                  RestingRenderer& renderer);

} // namespace ladoton
