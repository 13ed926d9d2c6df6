#include "audio/PipeWireVersion.h"

#include <array>
#include <charconv>

namespace ladoton {

bool pipeWireTellsRequestedFrames(std::string_view version) {
    std::array<int, 3> numbers{};
    const char* position = version.data();
    const char* const end = version.data() + version.size();
    for (std::size_t index = 0; index < numbers.size(); ++index) {
        const auto [next, error] = std::from_chars(position, end, numbers[index]);
        if (error != std::errc{} || (index + 1 < numbers.size() && (next == end || *next != '.'))) {
            return false;
        }
        position = next + 1;
    }
    constexpr std::array<int, 3> First{0, 3, 49};
    return numbers >= First;
}

uint32_t framesToRender(uint32_t capacity, uint64_t asked) {
    return asked != 0 && asked < capacity ? static_cast<uint32_t>(asked) : capacity;
}

} // namespace ladoton
