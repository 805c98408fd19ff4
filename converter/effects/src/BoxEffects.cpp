#include "effects/BoxEffects.h"

#include "CellPattern.h"
#include "InlineSplit.h"
#include "PixelLoops.h"

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

TESS_FX_VECTOR_CLONES
EffectOutput squares(EffectContext& context, const CellPattern& pattern) {
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
