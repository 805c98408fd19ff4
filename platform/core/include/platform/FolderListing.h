#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace tess {

// Whether a file name matches a list pattern: "*.abc", "*" or "*.*", letter case ignored. "*.abc"
// also takes longer extensions that begin with "abc", as the short names of such files end in
// ".ABC": "*.htm" lists ".html" pages too. "*.abc*" takes every extension that begins with "abc".
bool matchesListPattern(std::string_view name, std::string_view pattern);

// The order of a listing: names without regard to letter case, names that differ only in case by
// their bytes.
bool listOrderLess(std::string_view a, std::string_view b);

// The names (not paths) of the regular, visible files of `folder` that match `pattern`, sorted
// without regard to letter case. A folder that does not exist, or is no folder, gives
// errc::PathNotFound; one that cannot be read to its end gives errc::Generic.
Result<std::vector<std::string>> listFolder(const std::string& folder, std::string_view pattern);

}  // namespace tess
