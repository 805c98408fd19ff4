#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// Files the programs make for themselves (the speed log, the visual-style manifest): they may lie
// in a folder other users can write to, so they are never reached through a symbolic link, a link
// standing at the name is refused rather than followed, and new ones are made readable by the
// user alone (mode 0600). Errors read `Cannot write "<path>": <reason>`.

// Replaces the file whole: the bytes go to a new file beside it, which takes its place only once
// complete, so a failed write leaves what was there.
Status writeOwnFile(const std::string& path, std::string_view bytes);

// Appends to the file, making it when missing. Refused when the name is a link or anything but a
// regular file of the user's own.
Status appendOwnFile(const std::string& path, std::string_view bytes);

// Whether the name holds a symbolic link (which is never followed by the two above).
bool isLink(const std::string& path);

}  // namespace tess
