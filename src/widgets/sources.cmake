list(APPEND LADOTON_GUI_SOURCES src/widgets/Controls.cpp src/widgets/DialogFont.cpp
    src/widgets/TextRoom.cpp)
