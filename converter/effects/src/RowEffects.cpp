#include "effects/RowEffects.h"

#include <algorithm>
#include <cstdint>

namespace tess::fx {

// Reads touch only rows 0, 3, 6, ... and writes only rows 1, 4, 7, ..., so no read sees a written
// pixel.
EffectOutput interlace(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    for (int y = 3; y <= picture.height() - 1; y += 3) {
        const std::uint32_t* from = picture.row(y);
        std::uint32_t* to = picture.row(y - 2);
        std::copy(from, from + width, to);
    }
    return EffectOutput::Picture;
}

EffectOutput visor(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    for (int y = 0; y <= picture.height() - 1; y += 2) {
        std::uint32_t* row = picture.row(y);
        std::fill(row, row + width, 0u);
    }
    return EffectOutput::Picture;
}

}  // namespace tess::fx
