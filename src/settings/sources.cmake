list(APPEND LADOTON_CORE_SOURCES src/settings/InputSourceFile.cpp src/settings/SettingsRecord.cpp)
