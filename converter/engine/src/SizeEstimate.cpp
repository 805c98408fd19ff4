#include "engine/SizeEstimate.h"

#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess {

std::int64_t estimateOutputSize(int width, int height, std::string_view title) {
    const std::int64_t w = width;
    const std::int64_t h = height;
    const auto titleLength = static_cast<std::int64_t>(utf8::length(title));
    // Two characters and 29 of colour markup per pixel, CR LF per row, 270 of head and trailer.
    return 31 * w * h + 2 * h + 270 + titleLength;
}

std::string estimateOutputSizeText(int width, int height, std::string_view title,
                                   std::string_view separator) {
    return rt::formatThousands(static_cast<double>(estimateOutputSize(width, height, title)),
                               separator);
}

}  // namespace tess
