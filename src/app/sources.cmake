list(APPEND LADOTON_GUI_SOURCES
    src/app/Controls.cpp
    src/app/DataExchange.cpp
    src/app/ExchangedControls.cpp
    src/app/KeyboardApp.cpp
    src/app/KeyboardDialog.cpp
    src/app/KeyRouter.cpp
    src/app/WindowPrompts.cpp
    src/app/WindowTimers.cpp)
