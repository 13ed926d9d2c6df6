list(APPEND LADOTON_CORE_SOURCES src/platform/Clock.cpp)
list(APPEND LADOTON_GUI_SOURCES src/platform/QtPrompts.cpp)
