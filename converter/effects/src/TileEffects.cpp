#include "effects/TileEffects.h"

#include <algorithm>

#include "InlineSplit.h"

namespace tess::fx {

namespace {

struct FlatTiles {
    int cell;       // grid step in both directions
    int darkening;  // threshold and amount of the grout's darkening
    int outer;      // extent of the outer grout box; the inner one is one less
    int face;       // far extent of the face, whose near corner is at offset 1
};

constexpr FlatTiles kBathroom{8, 10, 6, 4};
constexpr FlatTiles kMosaic{8, 20, 8, 6};
constexpr FlatTiles kPool{6, 10, 6, 4};

int darkened(int component, int darkening) {
    return component > darkening ? component - darkening : component;
}

// Cells column by column, each top to bottom; a later cell's boxes cover an earlier cell's where
// they meet (the outer box of Mosaic and Pool Tiles reaches the next cell's first row and column).
EffectOutput flatTiles(EffectContext& context, const FlatTiles& t) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    for (int x = 0; x <= source.width() - 1; x += t.cell) {
        for (int y = 0; y <= source.height() - 1; y += t.cell) {
            const Colour sample = source.pixel(x, y);
            const InlineSplit s(sample);
            const Colour grout = rgb(darkened(s.red, t.darkening), darkened(s.green, t.darkening),
                                     darkened(s.blue, t.darkening));
            target.box(x, y, x + t.outer, y + t.outer, grout);
            target.box(x, y, x + t.outer - 1, y + t.outer - 1, grout);
            target.fillBox(x + 1, y + 1, x + t.face, y + t.face, sample);
        }
    }
    return EffectOutput::Scratch;
}

int light(int component) {
    return component < 235 ? std::min(2 * component, 255) : component;
}

int face(int component) {
    return std::min(4 * component / 3, 255);
}

}  // namespace

EffectOutput bathroomTiles(EffectContext& context) {
    return flatTiles(context, kBathroom);
}

EffectOutput mosaicTiles(EffectContext& context) {
    return flatTiles(context, kMosaic);
}

EffectOutput poolTiles(EffectContext& context) {
    return flatTiles(context, kPool);
}

// Each tile's edge lines stop short of their end point, so they cover the pixels 0..7 of the
// tile's first row and column and tiles never overlap. The dark lines along the far edges that a
// tile might also draw would lie on the next tiles' first row and column, which those tiles cover
// when they are drawn, or outside the picture; they are left out.
EffectOutput tiles3D(EffectContext& context) {
    constexpr int kCell = 8;
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    for (int x = 0; x <= source.width() - 1; x += kCell) {
        for (int y = 0; y <= source.height() - 1; y += kCell) {
            const InlineSplit s(source.pixel(x, y));
            const Colour edge = rgb(light(s.red), light(s.green), light(s.blue));
            const Colour inside = rgb(face(s.red), face(s.green), face(s.blue));
            target.line(x, y, x, y + kCell, edge);
            target.line(x, y, x + kCell, y, edge);
            target.fillBox(x + 1, y + 1, x + 6, y + 6, inside);
        }
    }
    return EffectOutput::Scratch;
}

}  // namespace tess::fx
