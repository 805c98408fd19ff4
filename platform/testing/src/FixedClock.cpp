#include "platform/testing/FixedClock.h"

#include <chrono>

namespace tess::testing {

void FixedClock::advance(std::int64_t milliseconds) {
    using namespace std::chrono;
    ticks_ += static_cast<std::uint32_t>(milliseconds);

    const sys_days day = year_month_day{year{now_.year}, month{static_cast<unsigned>(now_.month)},
                                        std::chrono::day{static_cast<unsigned>(now_.day)}};
    const sys_time<std::chrono::milliseconds> moved =
        day + hours{now_.hour} + minutes{now_.minute} + seconds{now_.second} +
        std::chrono::milliseconds{now_.millisecond + milliseconds};

    const sys_days newDay = floor<days>(moved);
    const year_month_day date{newDay};
    hh_mm_ss<std::chrono::milliseconds> time{moved - newDay};
    now_.year = static_cast<int>(date.year());
    now_.month = static_cast<int>(static_cast<unsigned>(date.month()));
    now_.day = static_cast<int>(static_cast<unsigned>(date.day()));
    now_.hour = static_cast<int>(time.hours().count());
    now_.minute = static_cast<int>(time.minutes().count());
    now_.second = static_cast<int>(time.seconds().count());
    now_.millisecond = static_cast<int>(time.subseconds().count());
}

}  // namespace tess::testing
