#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace tess::testing {

// A clock that only moves when the test says so. advance() moves the tick count and the date and
// time together, as a real clock would; setTickCount() and setNow() set each one alone.
class FixedClock : public Clock {
  public:
    explicit FixedClock(DateTime now = {}, std::uint32_t tickCount = 0)
        : now_(now), ticks_(tickCount) {}

    std::uint32_t tickCount() const override { return ticks_; }
    DateTime now() const override { return now_; }

    void setTickCount(std::uint32_t ticks) { ticks_ = ticks; }
    void setNow(const DateTime& now) { now_ = now; }
    // The tick count wraps at 2^32; the date rolls over days, months and years.
    void advance(std::int64_t milliseconds);

  private:
    DateTime now_;
    std::uint32_t ticks_;
};

}  // namespace tess::testing
