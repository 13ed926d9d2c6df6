list(APPEND LADOTON_CORE_SOURCES
    src/keyboard/Announcements.cpp
    src/keyboard/Keyboard.cpp
    src/keyboard/KeyboardControls.cpp
    src/keyboard/KeyboardFiles.cpp
    src/keyboard/KeyboardInput.cpp
    src/keyboard/KeyboardKeys.cpp
    src/keyboard/KeyboardMelody.cpp
    src/keyboard/KeyboardSettings.cpp
    src/keyboard/KeyboardTimer.cpp)
