#pragma once

#include <optional>
#include <string_view>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The first entry of an icon or cursor file when it is a bitmap (1, 4, 8, 24 or 32 bits a
// pixel), decoded straight into the picture. Pixels the AND mask makes transparent show
// `backColour` (a system colour reference is resolved). A 32-bit entry whose alpha bytes are not
// all 0 is blended onto the back colour by its alpha and needs no mask; one whose alpha bytes are
// all 0 has none, and its mask alone carries the transparency (where the mask is missing, every
// pixel is opaque). Empty for an entry that is a PNG, which a general decoder takes. Takes bytes
// whose headers inspectPicture found readable and whole.
//   errc::OutOfMemory  the picture Picture::createForOverwrite refuses
std::optional<Result<Picture>> decodeIcoBitmap(std::string_view bytes, Colour backColour);

// The data of the first entry of an icon file, as its directory places it (empty where it lies
// outside the bytes).
std::string_view icoFirstEntry(std::string_view bytes);

}  // namespace tess
