#include "synth/FluidSynthLibrary.h"

#include "audio/LibrarySymbols.h"

#include <dlfcn.h>

#include <optional>

#ifndef LADOTON_FLUIDSYNTH_LIBRARY
#define LADOTON_FLUIDSYNTH_LIBRARY "libfluidsynth.so.3"
#endif

namespace ladoton {

namespace {

void ignoreLog(int, const char*, void*) {}

std::optional<FluidSynthApi> load() {
    // The library is never unloaded: its threads and those of the libraries below it may
    // outlive any one synthesizer.
    void* library = dlopen(LADOTON_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    FluidSynthApi api{};
    const bool complete =
        resolve(library, "new_fluid_settings", api.newSettings) &&
        resolve(library, "delete_fluid_settings", api.deleteSettings) &&
        resolve(library, "fluid_settings_setint", api.setInt) &&
        resolve(library, "fluid_settings_setnum", api.setNum) &&
        resolve(library, "fluid_settings_setstr", api.setStr) &&
        resolve(library, "fluid_settings_foreach_option", api.forEachOption) &&
        resolve(library, "new_fluid_synth", api.newSynth) &&
        resolve(library, "delete_fluid_synth", api.deleteSynth) &&
        resolve(library, "fluid_synth_sfload", api.loadSoundFont) &&
        resolve(library, "fluid_synth_noteon", api.noteOn) &&
        resolve(library, "fluid_synth_noteoff", api.noteOff) &&
        resolve(library, "fluid_synth_program_change", api.programChange) &&
        resolve(library, "fluid_synth_cc", api.controlChange) &&
        resolve(library, "fluid_synth_pitch_bend", api.pitchBend) &&
        resolve(library, "fluid_synth_channel_pressure", api.channelPressure) &&
        resolve(library, "fluid_synth_key_pressure", api.keyPressure) &&
        resolve(library, "fluid_synth_bank_select", api.bankSelect) &&
        resolve(library, "fluid_synth_set_channel_type", api.setChannelType) &&
        resolve(library, "fluid_synth_write_float", api.writeFloat) &&
        resolve(library, "new_fluid_audio_driver", api.newAudioDriver) &&
        resolve(library, "new_fluid_audio_driver2", api.newAudioDriverWithCallback) &&
        resolve(library, "delete_fluid_audio_driver", api.deleteAudioDriver) &&
        resolve(library, "fluid_set_log_function", api.setLogFunction);
    if (!complete) {
        return std::nullopt;
    }
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
        api.setLogFunction(level, &ignoreLog, nullptr);
    }
    return api;
}

} // namespace

const FluidSynthApi* fluidSynth() {
    static const std::optional<FluidSynthApi> api = load();
    return api ? &*api : nullptr;
}

} // namespace ladoton
