#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

namespace tess {

// GetNumber: the next free number for an "Image<n>.html" name, as decimal text. Each name counts
// with the number at the start of its tail, where the tail is as many characters from the end of
// the name without its last extension as that part holds digits altogether ("Image12.html" counts
// 12, "Image2 copy3.html" 0, "2005pic7.html" 5). The highest count plus 1; "0" after an overflow.
std::string GetNumber(const std::vector<std::string>& names);
// The same over a listing; a listing that failed gives "0".
std::string GetNumber(const Result<std::vector<std::string>>& listing);

}  // namespace tess
