#include <gtest/gtest.h>

#include "effects/WaitSeconds.h"
#include "platform/testing/CountingEventPump.h"
#include "platform/testing/FixedClock.h"

namespace tess::fx {
namespace {

using tess::testing::CountingEventPump;
using tess::testing::FixedClock;

// Every turn of the event loop lets 100 ms pass.
int turnsToWait(double seconds, FixedClock& clock) {
    CountingEventPump pump;
    pump.setOnDoEvents([&] { clock.advance(100); });
    WaitSeconds(seconds, clock, pump);
    return pump.doEventsCount();
}

TEST(WaitSeconds, ProcessesEventsUntilTheTimeHasPassed) {
    FixedClock clock;
    EXPECT_EQ(turnsToWait(0.5, clock), 5);
    EXPECT_EQ(turnsToWait(0.45, clock), 5);
    EXPECT_EQ(turnsToWait(0, clock), 0);
    EXPECT_EQ(turnsToWait(-1, clock), 0);
}

TEST(WaitSeconds, EndsOnTimeAcrossMidnightAndAcrossTheTickWrap) {
    FixedClock clock(DateTime{2026, 12, 31, 23, 59, 59, 800}, 0xFFFFFF00u);
    EXPECT_EQ(turnsToWait(0.5, clock), 5);
    EXPECT_EQ(clock.now().hour, 0);
}

}  // namespace
}  // namespace tess::fx
