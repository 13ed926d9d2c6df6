list(APPEND LADOTON_CORE_SOURCES src/audio/AudioOutputs.cpp src/audio/RestingRenderer.cpp
    src/audio/PipeWireVersion.cpp)
list(APPEND LADOTON_GUI_SOURCES src/audio/JackSynthOutput.cpp src/audio/PipeWireSynthOutput.cpp
    src/audio/PipeWireLibrary.cpp src/audio/PipeWireOutput.cpp)
