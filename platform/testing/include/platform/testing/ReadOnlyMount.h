#pragma once

#include <functional>
#include <string>

namespace tess::testing {

// Runs `body` in a child process that sees a read-only file system at `folder` (an existing empty
// folder): a tmpfs holding one file "old.txt" with the text "old", remounted read-only in a mount
// namespace of its own. Returns what `body` returned, or "skip" where the system lets no process
// make such a namespace. The body runs in the child, so it must report through its return value.
std::string onReadOnlyFileSystem(const std::string& folder,
                                 const std::function<std::string()>& body);
// The same with `prepare` run in the child first, while the file system is still writable.
std::string onReadOnlyFileSystem(const std::string& folder, const std::function<void()>& prepare,
                                 const std::function<std::string()>& body);

}  // namespace tess::testing
