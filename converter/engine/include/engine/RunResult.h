#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
    // from the seams. The clipboard itself was given the same text as UTF-8. The bytes are held by
    // clipboardPage, so they stay valid as long as any copy of this result does.
    std::string_view clipboardText;
    std::shared_ptr<const std::string> clipboardPage;
    // The speed-log record of the run, built whether or not the log is on.
    SpeedLogRecord log;
    // Set when writing the speed log failed; the run itself still counts as done.
    std::optional<Error> speedLogError;
};

}  // namespace tess
