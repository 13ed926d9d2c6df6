list(APPEND LADOTON_CORE_SOURCES src/melody/Melody.cpp src/melody/HeldNotes.cpp
    src/melody/MelodyFile.cpp src/melody/MelodyFileIo.cpp src/melody/MidiFile.cpp
    src/melody/PlaybackPass.cpp src/melody/SpokenChord.cpp)
