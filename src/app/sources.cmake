list(APPEND LADOTON_GUI_SOURCES
    src/app/CaretBlinkTimeout.cpp
    src/app/ControlNames.cpp
    src/app/DataExchange.cpp
    src/app/DeviceMenu.cpp
    src/app/ExchangedControls.cpp
    src/app/HelpAndAbout.cpp
    src/app/InputMenu.cpp
    src/app/KeyboardApp.cpp
    src/app/KeyboardDialog.cpp
    src/app/KeyboardPainting.cpp
    src/app/KeyRouter.cpp
    src/app/MidiInputPump.cpp
    src/app/PianoAccessible.cpp
    src/app/ScreenReaderVoice.cpp
    src/app/WindowPrompts.cpp
    src/app/WindowIcon.cpp
    src/app/WindowTimers.cpp)
