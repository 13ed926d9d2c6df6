list(APPEND LADOTON_CORE_SOURCES src/render/KeyLook.cpp)
list(APPEND LADOTON_GUI_SOURCES
    src/render/KeyboardCanvas.cpp
    src/render/KeyboardOverlay.cpp
    src/render/KeyImages.cpp
    src/render/LabelFont.cpp
    src/render/LabelTexts.cpp)
