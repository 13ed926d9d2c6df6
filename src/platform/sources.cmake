list(APPEND LADOTON_GUI_SOURCES src/platform/Resources.cpp src/platform/QtTranslations.cpp
    src/platform/RuntimeFolder.cpp src/platform/KeyRepeat.cpp src/platform/InputMethods.cpp
    src/platform/KeyTranslation.cpp src/platform/SystemMidiBackend.cpp)
