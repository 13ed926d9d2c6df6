list(APPEND LADOTON_CORE_SOURCES)
list(APPEND LADOTON_GUI_SOURCES src/render/KeyboardOverlay.cpp src/render/KeyboardPainting.cpp)
