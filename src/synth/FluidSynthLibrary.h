#pragma once

#include <fluidsynth.h>

namespace ladoton {

// The FluidSynth functions the program uses. The library and the many libraries it pulls in
// are loaded on first use rather than at start, so that they cost the start-up nothing.
//
// Every function here but `writeFloat` takes the synthesizer's lock, which a program change
// holds while it reads samples from disk: an audio callback calls `writeFloat` alone.
struct FluidSynthApi {
    decltype(&::new_fluid_settings) newSettings;
    decltype(&::delete_fluid_settings) deleteSettings;
    decltype(&::fluid_settings_setint) setInt;
    decltype(&::fluid_settings_setnum) setNum;
    decltype(&::fluid_settings_setstr) setStr;
    decltype(&::fluid_settings_foreach_option) forEachOption;
    decltype(&::new_fluid_synth) newSynth;
    decltype(&::delete_fluid_synth) deleteSynth;
    decltype(&::fluid_synth_sfload) loadSoundFont;
    decltype(&::fluid_synth_noteon) noteOn;
    decltype(&::fluid_synth_noteoff) noteOff;
    decltype(&::fluid_synth_program_change) programChange;
    decltype(&::fluid_synth_cc) controlChange;
    decltype(&::fluid_synth_pitch_bend) pitchBend;
    decltype(&::fluid_synth_channel_pressure) channelPressure;
    decltype(&::fluid_synth_key_pressure) keyPressure;
    decltype(&::fluid_synth_bank_select) bankSelect;
    decltype(&::fluid_synth_set_channel_type) setChannelType;
    decltype(&::fluid_synth_write_float) writeFloat;
    decltype(&::new_fluid_audio_driver) newAudioDriver;
    decltype(&::new_fluid_audio_driver2) newAudioDriverWithCallback;
    decltype(&::delete_fluid_audio_driver) deleteAudioDriver;
    decltype(&::fluid_set_log_function) setLogFunction;
};

// Loads the library once, from any thread, with its own logging to the terminal turned off;
// nullptr when it or one of the functions is missing.
const FluidSynthApi* fluidSynth();

} // namespace ladoton
