#pragma once

#include "platform/Parallel.h"
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

// Copies a w x h block from src (sx, sy) to dst (dx, dy); parts outside either picture are skipped
// and a width or height of 0 or less copies nothing. dst and src may be the same picture.
void bitBlt(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx, int sy,
            RasterOp op);

// Copies the source rectangle onto the destination rectangle, scaling by nearest-pixel sampling.
// A negative width or height walks that picture backwards from its origin, so
// stretchBlt(dst, w - 1, 0, -w, h, src, 0, 0, w, h, ...) is an exact left-right mirror. Each
// destination pixel takes the source pixel under its top-left edge; when an axis shrinks,
// BlackOnWhite ANDs every source pixel the destination pixel covers (see the source for the map).
// Source pixels outside src are left out; a destination pixel with none inside is not written.
// `finished` is told of each destination row once its pixels are written.
void stretchBlt(Picture& dst, int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy,
                int sw, int sh, RasterOp op, StretchMode mode = StretchMode::BlackOnWhite,
                const RowFinished& finished = {});

}  // namespace tess
