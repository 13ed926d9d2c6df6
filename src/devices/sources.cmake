list(APPEND LADOTON_CORE_SOURCES src/devices/BackgroundOpenBackend.cpp
    src/devices/CompositeBackend.cpp src/devices/LazyBackend.cpp)
