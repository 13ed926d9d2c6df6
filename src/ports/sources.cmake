list(APPEND LADOTON_CORE_SOURCES src/ports/MidiPortList.cpp)
list(APPEND LADOTON_GUI_SOURCES src/ports/AlsaMidiInput.cpp src/ports/AlsaOutputSender.cpp
    src/ports/JackClient.cpp src/ports/JackClientOpener.cpp src/ports/JackMidiOutput.cpp
    src/ports/JackMidiInput.cpp src/ports/JackAudioOutput.cpp src/ports/SystemMidiInput.cpp
    src/ports/MidiLibraryNoise.cpp src/ports/RtMidiBackend.cpp)
