#pragma once

#include "time/Clock.h"

namespace ladoton::testing {

// Time moves only when a test advances it or the program sleeps.
class ManualClock final : public Clock {
  public:
    uint32_t now = 1000;
    uint32_t sleptMs = 0;
    bool sleepAdvances = true;

    uint32_t tickCount() override { return now; }
    void sleep(uint32_t milliseconds) override {
        sleptMs += milliseconds;
        if (sleepAdvances) {
            now += milliseconds;
        }
    }
    void advance(uint32_t milliseconds) { now += milliseconds; }
};

} // namespace ladoton::testing
