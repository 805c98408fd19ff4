#include "effects/FlipInvert.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PixelLoops.h"
#include "PixelVectors.h"
#include "platform/Blit.h"

namespace tess::fx {

// The mirrors are the exact mirror copies of the platform's stretchBlt with a negative extent
// from the last column (or row), written as plain row copies.

TESS_FX_VECTOR_CLONES
EffectOutput flipHorizontal(EffectContext& context) {
    const Picture& source = context.picture;
    const int width = source.width();
    if (width == 0) {
        return EffectOutput::Scratch;  // no row to point into
    }
    // Each row is mirrored into a buffer and then copied over as a block: the reversed vectors
    // straddle the target's cache lines, and the block copy of the finished row writes faster.
    std::vector<std::uint32_t> mirrored(static_cast<std::size_t>(width));
    for (int y = 0; y < source.height(); ++y) {
        const std::uint32_t* in = source.row(y);
        std::uint32_t* out = mirrored.data() + width;
        // A vector of pixels lands reversed just before the place the previous one went.
        int x = 0;
        for (; x + kVectorPixels <= width; x += kVectorPixels)
            storePixels(out - x - kVectorPixels, reversed(loadPixels(in + x)));
        for (; x < width; ++x)
            out[-x - 1] = in[x];
        std::copy(mirrored.begin(), mirrored.end(), context.scratch.row(y));
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
