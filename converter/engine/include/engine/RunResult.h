#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/SpeedLog.h"
#include "platform/Result.h"

namespace tess {

enum class RunStatus { Complete, Cancelled };

// What a finished run reports back to the window.
struct RunResult {
    RunStatus status = RunStatus::Complete;
    // Cells written, the final ProgressPos.
    std::int32_t cellsWritten = 0;
    // Clipboard target only: the page as Windows-1252 bytes, exactly what a file would hold apart
    // from the seams. The clipboard itself was given the same text as UTF-8.
    std::string clipboardText;
    // The speed-log record of the run, built whether or not the log is on.
    SpeedLogRecord log;
    // Set when writing the speed log failed; the run itself still counts as done.
    std::optional<Error> speedLogError;
};

}  // namespace tess
