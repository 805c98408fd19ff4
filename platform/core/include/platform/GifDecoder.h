#pragma once

#include <string_view>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The first image of a GIF file, decoded straight into the picture's rows: no other picture-sized
// buffer is made, whatever the screen's size. Shows what Qt's reader shows for the same file:
// the logical screen (a side of 0 takes the image's), the part the image leaves uncovered in the
// screen's background colour, transparent pixels (also the uncovered part of a GIF with a
// transparent colour, and there an index beyond the colour table) in `backColour` (a system
// colour reference is resolved), an index beyond the table of an opaque GIF in white, pixels the
// data does not reach in black, or transparent. Data after the first image is never read. Takes
// bytes whose headers inspectPicture found readable and whole.
//   errc::InvalidPicture  no image, a picture without pixels, an unusable LZW code size
//   errc::OutOfMemory     the picture Picture::createForOverwrite refuses
Result<Picture> decodeGif(std::string_view bytes, Colour backColour);

}  // namespace tess
