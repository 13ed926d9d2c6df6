list(APPEND LADOTON_CORE_SOURCES src/ui/KeyHelp.cpp)
list(APPEND LADOTON_GUI_SOURCES src/ui/HelpAndAbout.cpp src/ui/AboutDialog.cpp src/ui/DialogFont.cpp
    src/ui/TextRoom.cpp)
