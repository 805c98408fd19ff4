#pragma once

#include <cstdint>

namespace tess {

// A local date and time, as the clock reads it.
struct DateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32; take differences modulo 2^32.
    virtual std::uint32_t tickCount() const = 0;
    virtual DateTime now() const = 0;
    // Seconds since local midnight, with fractions.
    double secondsSinceMidnight() const;
};

}  // namespace tess
