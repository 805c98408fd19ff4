#pragma once

#include <chrono>
#include <functional>

#include "platform/EventPump.h"

namespace tess::qt {

// Gives the Qt event loop a turn. yield() is meant for the innermost loops (after every cell of a
// mosaic): it counts calls and reads the clock only every `callsPerCheck` calls, and processes
// events only when `interval` has passed since the last turn, so most calls cost a decrement. The
// time source is injectable so tests need not wait on a real timer.
class QtEventPump : public EventPump {
  public:
    using Nanoseconds = std::chrono::nanoseconds;
    using TimeSource = std::function<Nanoseconds()>;

    static constexpr Nanoseconds kDefaultInterval = std::chrono::milliseconds(10);
    static constexpr int kDefaultCallsPerCheck = 256;

    // An empty time source means the steady clock.
    explicit QtEventPump(Nanoseconds interval = kDefaultInterval, TimeSource time = {},
                         int callsPerCheck = kDefaultCallsPerCheck);

    void doEvents() override;

    // Turns actually given to the event loop (by either call).
    long long turns() const { return turns_; }

  protected:
    void yieldCheck() override;

  private:
    Nanoseconds now() const;

    Nanoseconds interval_;
    TimeSource time_;
    Nanoseconds lastTurn_;
    long long turns_ = 0;
};

}  // namespace tess::qt
