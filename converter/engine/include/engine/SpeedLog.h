#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// One record of the speed log: ten fields joined by ",".
struct SpeedLogRecord {
    std::string startTime;  // "hh:mm:ss AM/PM"
    std::string startDate;  // "mm-dd-yy"
    std::string endTime;
    std::string endDate;
    std::uint32_t elapsedMs = 0;  // tick difference modulo 2^32
    int width = 0;
    int height = 0;
    std::string mode;      // the mode's list text
    std::string priority;  // "Normal" or "High"
    std::string status;    // "Complete" or "Cancelled"

    std::string line() const;
};

// The opt-in log "tyspeed.log" in the program folder, one record line per run.
class SpeedLog {
  public:
    static constexpr std::string_view kFileName = "tyspeed.log";
    static constexpr std::string_view kHeader =
        "Start Time, Start Date, End Time, End Date, Total Time (ms), Width, Height, Mode, "
        "Priority, Status";

    // `enabled` is the "/speedlog" switch; without it nothing is ever written.
    SpeedLog(std::string folder, bool enabled);

    bool enabled() const { return enabled_; }
    std::string path() const;

    // Appends the record; a missing file, or one shorter than 66 bytes, is written anew with the
    // header first.
    Status WriteSpeedFile(const std::string& sLogLine) const;

  private:
    std::string folder_;
    bool enabled_;
};

}  // namespace tess
