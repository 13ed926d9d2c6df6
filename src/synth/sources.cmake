list(APPEND LADOTON_CORE_SOURCES src/synth/NoteHolds.cpp)
list(APPEND LADOTON_GUI_SOURCES src/synth/FluidSynthBackend.cpp src/synth/FluidSynthLibrary.cpp
    src/synth/SoundFontSynth.cpp src/synth/FluidSynthDriverOutput.cpp)
# The built-in synthesizer loads FluidSynth when it first starts, by the library's soname.
find_library(LADOTON_FLUIDSYNTH_FILE fluidsynth)
if(LADOTON_FLUIDSYNTH_FILE)
    file(REAL_PATH "${LADOTON_FLUIDSYNTH_FILE}" fluidsynth_real)
    get_filename_component(fluidsynth_name "${fluidsynth_real}" NAME)
    string(REGEX MATCH "^libfluidsynth\\.so\\.[0-9]+" fluidsynth_soname "${fluidsynth_name}")
    set_source_files_properties(src/synth/FluidSynthLibrary.cpp PROPERTIES
        COMPILE_DEFINITIONS "LADOTON_FLUIDSYNTH_LIBRARY=\"${fluidsynth_soname}\"")
endif()
