list(APPEND LADOTON_CORE_SOURCES src/keys/KeyTable.cpp src/keys/KeyAssignText.cpp
    src/keys/KeyHelp.cpp src/keys/MelodyText.cpp src/keys/SpokenKeyName.cpp)
