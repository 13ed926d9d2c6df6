list(APPEND LADOTON_CORE_SOURCES src/time/Clock.cpp)
