#pragma once

#include "platform/Picture.h"

namespace tess {

// Raster operations of block copies, with the platform's numbers.
enum class RasterOp : unsigned {
    SrcCopy = 0x00CC0020,    // destination = source
    SrcInvert = 0x00660046,  // destination = destination XOR source
};

// How a shrinking stretch combines the pixels it drops with the ones it keeps.
enum class StretchMode {
    BlackOnWhite,  // the platform default: AND of the combined pixels
    ColorOnColor,  // dropped pixels are simply discarded
};

// Copies a w x h block from src (sx, sy) to dst (dx, dy); parts outside either picture are skipped.
void bitBlt(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx, int sy,
            RasterOp op);

// Copies the source rectangle onto the destination rectangle, scaling by nearest-pixel sampling.
// A negative destination width or height mirrors the copy (the flips use this).
void stretchBlt(Picture& dst, int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy,
                int sw, int sh, RasterOp op, StretchMode mode = StretchMode::BlackOnWhite);

}  // namespace tess
