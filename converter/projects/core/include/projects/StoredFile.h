#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// The whole of a project or library file the user names: only a regular file of at most
// `maxSize` bytes is read, so a pipe, a device or a huge file is refused before any reading.
// `kind` names what the file should be in the refusal ("a project", "a graphics library").
Result<std::string> readStoredFile(const std::string& path, std::int64_t maxSize,
                                   std::string_view kind);

}  // namespace tess
