#include "effects/TileEffects.h"

#include <algorithm>

#include "CellPattern.h"
#include "InlineSplit.h"
#include "PixelLoops.h"

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

CellPattern::Labels grouted(Colour sample, int darkening) {
    const InlineSplit s(sample);
    return {
        0,
        rgb(darkened(s.red, darkening), darkened(s.green, darkening), darkened(s.blue, darkening)),
        sample};
}

// Each cell: two grout boxes, the outer one first, then the face in the sample's colour.
CellPattern flatTilePattern(const FlatTiles& t) {
    return CellPattern(t.cell, [&t](Picture& canvas, const CellPattern::Labels& colour) {
        canvas.box(0, 0, t.outer, t.outer, colour[1]);
        canvas.box(0, 0, t.outer - 1, t.outer - 1, colour[1]);
        canvas.fillBox(1, 1, t.face, t.face, colour[2]);
    });
}

// Cells column by column, each top to bottom; a later cell's boxes cover an earlier cell's where
// they meet (the outer box of Mosaic and Pool Tiles reaches the next cell's first row and column).
TESS_FX_VECTOR_CLONES
EffectOutput flatTiles(EffectContext& context, const FlatTiles& t, const CellPattern& pattern) {
    drawCells(context.picture, context.scratch, pattern,
              [&t](Colour sample) { return grouted(sample, t.darkening); });
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
    static const CellPattern pattern = flatTilePattern(kBathroom);
    return flatTiles(context, kBathroom, pattern);
}

EffectOutput mosaicTiles(EffectContext& context) {
    static const CellPattern pattern = flatTilePattern(kMosaic);
    return flatTiles(context, kMosaic, pattern);
}

EffectOutput poolTiles(EffectContext& context) {
    static const CellPattern pattern = flatTilePattern(kPool);
    return flatTiles(context, kPool, pattern);
}

// Each tile's edge lines stop short of their end point, so they cover the pixels 0..7 of the
// tile's first row and column and tiles never overlap. The dark lines along the far edges that a
// tile might also draw would lie on the next tiles' first row and column, which those tiles cover
// when they are drawn, or outside the picture; they are left out.
TESS_FX_VECTOR_CLONES
EffectOutput tiles3D(EffectContext& context) {
    constexpr int kCell = 8;
    static const CellPattern pattern(kCell, [](Picture& canvas, const CellPattern::Labels& colour) {
        canvas.line(0, 0, 0, kCell, colour[1]);
        canvas.line(0, 0, kCell, 0, colour[1]);
        canvas.fillBox(1, 1, 6, 6, colour[2]);
    });
    drawCells(context.picture, context.scratch, pattern, [](Colour sample) {
        const InlineSplit s(sample);
        return CellPattern::Labels{0, rgb(light(s.red), light(s.green), light(s.blue)),
                                   rgb(face(s.red), face(s.green), face(s.blue))};
    });
    return EffectOutput::Scratch;
}

}  // namespace tess::fx
