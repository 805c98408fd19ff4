#pragma once

#include <string>

#include "platform/Colour.h"
#include "platform/Picture.h"

namespace tess {

// The picture file a project stores for the working picture `shown`: the bytes of the file the
// source line names while the picture is unchanged since it was loaded from there (`imageChanged`
// false) and that file still decodes, with `backColour` behind transparent pixels, to exactly the
// shown picture; otherwise the shown picture as a 24-bit bitmap file. A file replaced on disk
// since the load, or a source line edited to name another picture, thus never stands in for what
// is shown.
std::string projectPictureFile(bool imageChanged, const std::string& sourceLine,
                               const Picture& shown, Colour backColour);

}  // namespace tess
