list(APPEND LADOTON_CORE_SOURCES src/settings/SettingsRecord.cpp)
