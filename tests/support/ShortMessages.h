#pragma once

#include "midi/MidiMessage.h"

#include <cstdint>

namespace ladoton::testing {

inline ShortMessage noteOn(int status, int note, int velocity) {
    return ShortMessage{
        {static_cast<uint8_t>(status), static_cast<uint8_t>(note), static_cast<uint8_t>(velocity)},
        3};
}

inline ShortMessage programChange(int status, int program) {
    return ShortMessage{{static_cast<uint8_t>(status), static_cast<uint8_t>(program), 0}, 2};
}

} // namespace ladoton::testing
