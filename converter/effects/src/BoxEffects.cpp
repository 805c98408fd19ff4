#include "effects/BoxEffects.h"

#include <algorithm>
#include <cstdint>

#include "CellPattern.h"
#include "InlineSplit.h"
#include "PixelLoops.h"
#include "PixelVectors.h"

namespace tess::fx {

namespace {

// A square of `extent` at every grid point, filled or as an outline, in the colour of the grid
// point; later squares cover earlier ones where they meet.
CellPattern squarePattern(int step, int extent, bool filled) {
    return CellPattern(step, [=](Picture& canvas, const CellPattern::Labels& colour) {
        if (filled) {
            canvas.fillBox(0, 0, extent, extent, colour[1]);
        } else {
            canvas.box(0, 0, extent, extent, colour[1]);
        }
    });
}

// Each pixel of a vector takes the colour of the first pixel of its cell, for cells of `Size`
// pixels that start on the vector's first.
template <int Size>
[[gnu::always_inline]] inline Pixels spreadCells(Pixels v) {
    static_assert(kVectorPixels == 16 && 16 % Size == 0);
    constexpr auto f = [](int lane) { return lane - lane % Size; };
    return __builtin_shufflevector(v, v, f(0), f(1), f(2), f(3), f(4), f(5), f(6), f(7), f(8), f(9),
                                   f(10), f(11), f(12), f(13), f(14), f(15));
}

// Squares that cover their whole cell (the filled ones): every row of a cell is the cell's
// grid row with each pixel spread over its cell.
template <int Size>
[[gnu::always_inline]] inline EffectOutput wholeCells(EffectContext& context) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    for (int top = 0; top < height; top += Size) {
        const std::uint32_t* grid = source.row(top);
        std::uint32_t* out = target.row(top);
        int x = 0;
        for (; x + kVectorPixels <= width; x += kVectorPixels)
            storePixels(out + x, spreadCells<Size>(loadPixels(grid + x)));
        for (; x < width; ++x)
            out[x] = grid[x - x % Size];
        for (int y = top + 1; y < std::min(top + Size, height); ++y)
            std::copy(out, out + width, target.row(y));
    }
    return EffectOutput::Scratch;
}

TESS_FX_VECTOR_CLONES
EffectOutput squares(EffectContext& context, const CellPattern& pattern) {
    if (pattern.coversWholeCell(1)) {
        switch (pattern.size()) {
            case 2:
                return wholeCells<2>(context);
            case 4:
                return wholeCells<4>(context);
            default:
                break;
        }
    }
    drawCells(context.picture, context.scratch, pattern, [](Colour c) {
        return CellPattern::Labels{0, c, 0};
    });
    return EffectOutput::Scratch;
}

}  // namespace

EffectOutput blur(EffectContext& context) {
    static const CellPattern pattern = squarePattern(2, 1, true);
    return squares(context, pattern);
}

EffectOutput boxes(EffectContext& context) {
    static const CellPattern pattern = squarePattern(5, 3, false);
    return squares(context, pattern);
}

EffectOutput mosaic(EffectContext& context) {
    static const CellPattern pattern = squarePattern(4, 4, true);
    return squares(context, pattern);
}

// A cell reads only its own block, not yet written, or its own grid row and column, never
// written; so working in place gives what reading an unchanged copy would.
EffectOutput pixelate(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y <= height - 1; y += 4) {
        // Y + 2 > H - 2: the last row of cells, cut short, samples its grid row.
        const int dy = y + 2 > height - 2 ? 0 : 2;
        for (int x = 0; x <= width - 1; x += 4) {
            const int dx = x + 2 > width - 2 ? 0 : 2;
            const Colour c = InlineSplit(picture.pixel(x + dx, y + dy)).colour();
            picture.fillBox(x + 1, y + 1, x + 3, y + 3, c);
        }
    }
    return EffectOutput::Picture;
}

}  // namespace tess::fx
