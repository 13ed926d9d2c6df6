#include "synth/FluidSynthDriverOutput.h"

#include <algorithm>

namespace ladoton {

namespace {

class FluidSynthDriverOutput final : public SynthOutput {
  public:
    FluidSynthDriverOutput(const FluidSynthApi& api, fluid_audio_driver_t* driver)
        : api_(api), driver_(driver) {}
    ~FluidSynthDriverOutput() override { api_.deleteAudioDriver(driver_); }
    FluidSynthDriverOutput(const FluidSynthDriverOutput&) = delete;
    FluidSynthDriverOutput& operator=(const FluidSynthDriverOutput&) = delete;

  private:
    const FluidSynthApi& api_;
    fluid_audio_driver_t* driver_;
};

// FluidSynth's drivers hand over one buffer per channel; the effects are mixed into the dry
// output, so separate effect buffers stay silent.
int renderForDriver(void* data, int frames, int effects, float* effectBuffers[], int outputs,
                    float* outputBuffers[]) {
    if (outputs < 2) {
        return FLUID_FAILED;
    }
    for (int index = 0; index < effects; ++index) {
        std::fill_n(effectBuffers[index], frames, 0.0F);
    }
    for (int index = 2; index < outputs; ++index) {
        std::fill_n(outputBuffers[index], frames, 0.0F);
    }
    static_cast<RestingRenderer*>(data)->process({outputBuffers[0], outputBuffers[1], frames, 1});
    return FLUID_OK;
}

} // namespace

std::unique_ptr<SynthOutput> openFluidSynthDriver(const FluidSynthApi& api,
                                                  const std::string& driverName,
                                                  fluid_settings_t* settings, fluid_synth_t* synth,
                                                  RestingRenderer& renderer) {
    // FluidSynth's file driver, which serves tests, has no callback mode.
    const bool direct = driverName == "file";
    fluid_audio_driver_t* driver =
        direct ? api.newAudioDriver(settings, synth)
               : api.newAudioDriverWithCallback(settings, &renderForDriver, &renderer);
    if (driver == nullptr) {
        return nullptr;
    }
    return std::make_unique<FluidSynthDriverOutput>(api, driver);
}

} // namespace ladoton
