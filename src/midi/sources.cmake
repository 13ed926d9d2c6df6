list(APPEND LADOTON_CORE_SOURCES src/midi/MidiMessage.cpp src/midi/MidiOut.cpp)
list(APPEND LADOTON_GUI_SOURCES src/midi/DeviceMenu.cpp src/midi/JackServerWatch.cpp
    src/midi/MidiLibraryNoise.cpp src/midi/RtMidiBackend.cpp)
