#include "effects/BoxEffects.h"

#include "InlineSplit.h"

namespace tess::fx {

namespace {

enum class Square { Filled, Outline };

EffectOutput squares(EffectContext& context, int step, int extent, Square form) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    for (int x = 0; x <= source.width() - 1; x += step) {
        for (int y = 0; y <= source.height() - 1; y += step) {
            const Colour c = source.pixel(x, y);
            if (form == Square::Filled) {
                target.fillBox(x, y, x + extent, y + extent, c);
            } else {
                target.box(x, y, x + extent, y + extent, c);
            }
        }
    }
    return EffectOutput::Scratch;
}

}  // namespace

EffectOutput blur(EffectContext& context) {
    return squares(context, 2, 1, Square::Filled);
}

EffectOutput boxes(EffectContext& context) {
    return squares(context, 5, 3, Square::Outline);
}

EffectOutput mosaic(EffectContext& context) {
    return squares(context, 4, 4, Square::Filled);
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
