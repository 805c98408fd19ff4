#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tess {

// The four recent project files, slot 1 (index 0) the newest; an empty text is an empty slot.
using RecentSlots = std::array<std::string, 4>;
// Whether an entry may be shown: not empty, on a local fixed disk and an existing file.
using RecentCheck = std::function<bool(const std::string&)>;

// The platform's test: IsFixedDrive and FileExists of a non-empty path.
bool recentEntryValid(const std::string& path);

// The valid entries of `stored` in order, without gaps: what the menu shows.
std::vector<std::string> shownRecentFiles(const RecentSlots& stored, const RecentCheck& valid);

// The menu caption of the n-th shown entry (1 to 4): "&n. " and the shortened path, every "&" of
// the path doubled so it shows as itself instead of marking an access key.
std::string recentCaption(int n, const std::string& path);

// The slots after `path` was loaded or saved, or nothing when the list stays as it is (an invalid
// path, or the path already the newest shown entry). Invalid entries drop out and the path comes
// first once.
std::optional<RecentSlots> addRecentFile(const RecentSlots& slots, const std::string& path,
                                         const RecentCheck& valid);

}  // namespace tess
