list(APPEND LADOTON_CORE_SOURCES src/keys/KeyTable.cpp src/keys/KeyAssignText.cpp
    src/keys/MelodyText.cpp)
list(APPEND LADOTON_GUI_SOURCES src/keys/KeyAssignDialog.cpp src/keys/KeyTranslation.cpp)
