#pragma once

#include "midi/MidiMessage.h"

#include <ostream>

namespace ladoton {
inline void PrintTo(const ShortMessage& message, std::ostream* out) {
    *out << "[";
    for (std::size_t i = 0; i < message.size; ++i) {
        *out << (i ? " " : "") << int{message.bytes[i]};
    }
    *out << "]";
}
} // namespace ladoton
