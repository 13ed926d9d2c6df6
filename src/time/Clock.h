#pragma once

#include <cstdint>

namespace ladoton {

// Millisecond tick count (wrapping at 2^32) and a blocking pause.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
};

class SteadyClock final : public Clock {
  public:
    uint32_t tickCount() override;
    void sleep(uint32_t milliseconds) override;
};

} // namespace ladoton
