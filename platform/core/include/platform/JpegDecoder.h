#pragma once

#include <string_view>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// A JPEG file decoded by libjpeg straight into the picture's rows, turned upright as its EXIF
// orientation says (all eight orientations; a picture turned a quarter swaps its sides). Grey,
// colour and CMYK pictures (as Adobe writes them) are read as Qt's reader reads them. Any
// warning of the decoder ("Corrupt JPEG data: ...") refuses the file: the decoder fills what it
// could not read and would report success. The decoder's working memory is held to what a
// progressive picture's coefficients need (at most two pictures' worth) beside the picture.
//   errc::InvalidPicture  damaged data, a warning, a kind the decoder cannot read
//   errc::OutOfMemory     the picture Picture::createForOverwrite refuses, or memory the
//                         decoder cannot have
Result<Picture> decodeJpeg(std::string_view bytes);

// The EXIF orientation of a JPEG file (1 to 8), 1 where it has none or names none of the eight.
int jpegOrientation(std::string_view bytes);

}  // namespace tess
