list(APPEND LADOTON_CORE_SOURCES src/midi/InputQueue.cpp src/midi/InputStream.cpp
    src/midi/MidiInputParser.cpp
    src/midi/MidiMessage.cpp src/midi/MidiOut.cpp)
list(APPEND LADOTON_GUI_SOURCES src/midi/AlsaMidiInput.cpp src/midi/JackMidiClient.cpp
    src/midi/JackSession.cpp src/midi/JackSynthOutput.cpp src/midi/SystemMidiInput.cpp
    src/midi/MidiLibraryNoise.cpp src/midi/RtMidiBackend.cpp)
list(APPEND LADOTON_CORE_SOURCES src/midi/BackgroundOpenBackend.cpp src/midi/CompositeBackend.cpp
    src/midi/LazyBackend.cpp src/midi/MidiPortList.cpp
    src/midi/PendingMessages.cpp src/midi/AudioDrivers.cpp src/midi/RestingRenderer.cpp)
list(APPEND LADOTON_GUI_SOURCES src/midi/FluidSynthBackend.cpp src/midi/FluidSynthLibrary.cpp
    src/midi/SoundFontSynth.cpp src/midi/SynthOutput.cpp src/midi/PipeWireLibrary.cpp
    src/midi/PipeWireOutput.cpp)
# The built-in synthesizer loads FluidSynth when it first starts, by the library's soname.
find_library(LADOTON_FLUIDSYNTH_FILE fluidsynth)
if(LADOTON_FLUIDSYNTH_FILE)
    file(REAL_PATH "${LADOTON_FLUIDSYNTH_FILE}" fluidsynth_real)
    get_filename_component(fluidsynth_name "${fluidsynth_real}" NAME)
    string(REGEX MATCH "^libfluidsynth\\.so\\.[0-9]+" fluidsynth_soname "${fluidsynth_name}")
    set_source_files_properties(src/midi/FluidSynthLibrary.cpp PROPERTIES
        COMPILE_DEFINITIONS "LADOTON_FLUIDSYNTH_LIBRARY=\"${fluidsynth_soname}\"")
endif()
