#pragma once

#include <cstdint>

namespace ladoton {

// The random instrument's own pseudo-random sequence: the classic generator of range
// 0..32767, never seeded, so every run draws the same programs. It is the program's own
// because the C library's rand() has another range and is drawn from by the built-in
// synthesizer on its own thread, which would make the sequence depend on timing.
class RandomSequence {
  public:
    static constexpr int Max = 0x7FFF;

    // The next number, 0..Max. The first ones are 41, 18467, 6334.
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

  private:
    uint32_t state_ = 1;
};

} // namespace ladoton
