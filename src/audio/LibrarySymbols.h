#pragma once

#include <dlfcn.h>

#include <cstring>

namespace ladoton {

// Sets `function` to the symbol `name` of a library opened with dlopen; false when it has none.
template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        return false;
    }
    static_assert(sizeof(function) == sizeof(symbol));
    std::memcpy(&function, &symbol, sizeof(function));
    return true;
}

} // namespace ladoton
