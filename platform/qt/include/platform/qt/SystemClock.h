#pragma once

#include "platform/Clock.h"

namespace tess::qt {

// The real clock: ticks from the monotonic clock (milliseconds since boot, wrapping at 2^32, as
// the system tick count does) and the local date and time.
class SystemClock : public Clock {
  public:
    std::uint32_t tickCount() const override;
    DateTime now() const override;
};

}  // namespace tess::qt
