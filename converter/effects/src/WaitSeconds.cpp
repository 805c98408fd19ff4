#include "effects/WaitSeconds.h"

#include <cstdint>

namespace tess::fx {

void WaitSeconds(const double& seconds, const Clock& clock, EventPump& pump) {
    const std::uint32_t start = clock.tickCount();
    const double milliseconds = seconds * 1000.0;
    // The tick count wraps at 2^32; the difference modulo 2^32 is the time passed.
    while (static_cast<double>(static_cast<std::uint32_t>(clock.tickCount() - start)) <
           milliseconds)
        pump.doEvents();
}

}  // namespace tess::fx
