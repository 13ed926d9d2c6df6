list(APPEND LADOTON_GUI_SOURCES src/ui/AboutDialog.cpp src/ui/KeyAssignDialog.cpp
    src/ui/QtPrompts.cpp)
