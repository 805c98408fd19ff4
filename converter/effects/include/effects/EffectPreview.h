#pragma once

#include "platform/Clock.h"
#include "platform/Picture.h"
#include "platform/Random.h"
#include "platform/Result.h"

namespace tess::fx {

// The effects dialog's preview of row `index` of the effect table: the row's preview routine on a
// copy of the clean thumbnail, with the dialog's scratch colour (the button face) and the
// program-wide random sequence, so a preview shows one random outcome and the applied effect
// draws another. The thumbnail itself never changes, so no preview builds on an earlier one.
// errc::Generic for an index outside the table or a row without a preview;
// errc::OutOfMemory when the copies cannot be made.
Result<Picture> previewEffect(int index, const Picture& cleanThumbnail, Random& random,
                              const Clock& clock);

}  // namespace tess::fx
