list(APPEND LADOTON_CORE_SOURCES src/midi/InputQueue.cpp src/midi/InputStream.cpp
    src/midi/MidiMessage.cpp src/midi/MidiOut.cpp
    src/midi/OutputBacklog.cpp src/midi/BackloggedSender.cpp src/midi/PendingMessages.cpp)
