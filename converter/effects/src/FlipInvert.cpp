#include "effects/FlipInvert.h"

#include <algorithm>
#include <cstdint>

#include "platform/Blit.h"

namespace tess::fx {

// The mirrors are the exact mirror copies of the platform's stretchBlt with a negative extent
// from the last column (or row), written as plain row copies.

EffectOutput flipHorizontal(EffectContext& context) {
    const Picture& source = context.picture;
    const int width = source.width();
    if (width == 0) {
        return EffectOutput::Scratch;  // no row to point into
    }
    for (int y = 0; y < source.height(); ++y) {
        const std::uint32_t* in = source.row(y);
        std::uint32_t* out = context.scratch.row(y) + width - 1;
        for (int x = 0; x < width; ++x)
            out[-x] = in[x];
    }
    return EffectOutput::Scratch;
}

EffectOutput flipVertical(EffectContext& context) {
    const Picture& source = context.picture;
    const int width = source.width();
    const int height = source.height();
    for (int y = 0; y < height; ++y)
        std::copy(source.row(y), source.row(y) + width, context.scratch.row(height - 1 - y));
    return EffectOutput::Scratch;
}

EffectOutput invertColours(EffectContext& context) {
    const Picture& source = context.picture;
    bitBlt(context.scratch, 0, 0, source.width(), source.height(), source, 0, 0,
           RasterOp::SrcInvert);
    return EffectOutput::Scratch;
}

}  // namespace tess::fx
