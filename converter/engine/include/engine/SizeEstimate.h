#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tess {

// The upper estimate of a page's size in bytes, as if every pixel started a new colour run:
// 31 per pixel, CR LF per row, the fixed head and trailer and the title. Computed exactly.
std::int64_t estimateOutputSize(int width, int height, std::string_view title);
// The estimate as "#,###" text with the given thousands separator, e.g. "310,489".
std::string estimateOutputSizeText(int width, int height, std::string_view title,
                                   std::string_view separator = ",");

}  // namespace tess
