#pragma once

#include <string>
#include <string_view>

#include "engine/RunResult.h"
#include "platform/Result.h"
#include "workspace/Message.h"

namespace tess {

// The texts the main window's mosaic run reads from its controls and shows in its message boxes.

// The box after a run to the clipboard, complete or cancelled.
Message clipboardRunMessage(RunStatus status);

// The box of a run that could not write its page; `reason` names the path where there is one.
Message runFailureMessage(const Error& error, bool toClipboard);

// The box of a run whose page is written but whose speed-log record is not.
Message speedLogFailureMessage(const Error& error);

// The File Size Preview box for a picture of `width` x `height` and the page title `title`; the
// number is grouped with the locale's thousands separator `separator`.
Message sizePreviewMessage(int width, int height, std::string_view title,
                           std::string_view separator);

}  // namespace tess
