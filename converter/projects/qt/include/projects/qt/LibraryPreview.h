#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The most pixels a library picture is decoded at only to be shown as a thumbnail.
inline constexpr std::int64_t kLibraryPreviewPixels = std::int64_t{4096} * 4096;

// A library picture's bytes decoded for its thumbnail only. A picture of at most `maxPixels` is
// decoded by the loader (decodePicture), so its thumbnail is the one a taking gives. A larger JPEG
// is decoded by the JPEG decoder's own scaling at a half, a quarter or an eighth of its size, the
// largest of them within `maxPixels` (an eighth at the least), with EXIF orientation applied as
// viewers show it, and refused when its decoder warns of damage, as the loader refuses it; any
// other larger picture is refused as too costly to show. What the loader refuses from the headers
// is refused the same way.
Result<Picture> decodeLibraryPreview(std::string_view bytes, Colour backColour,
                                     std::int64_t maxPixels = kLibraryPreviewPixels);

}  // namespace tess
