#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"

namespace tess::fx {

// A busy wait that keeps the windows responsive: processes pending events until `seconds` have
// passed. It reads the monotonic tick count, so a wait across midnight (or a change of the
// wall-clock time) still ends on time. With 0 or less it returns at the first test, before
// processing anything.
void WaitSeconds(const double& seconds, const Clock& clock, EventPump& pump);

}  // namespace tess::fx
