#include "platform/Clock.h"

namespace tess {

double Clock::secondsSinceMidnight() const {
    const DateTime t = now();
    return t.hour * 3600.0 + t.minute * 60.0 + t.second + t.millisecond / 1000.0;
}

}  // namespace tess
