#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// The flat tiles: the picture laid out on a square grid, each cell a face in the colour of the
// cell's top-left pixel framed by two nested outline boxes of grout in that colour darkened (a
// component above the darkening loses it, one at or below keeps its value). They read the picture
// and draw into the scratch picture, whose colour shows where no tile reaches.
//   Bathroom Tiles: cell 8, darkening 10, grout boxes of extent 6 and 5, face 1..4.
//   Mosaic Tiles:   cell 8, darkening 20, grout boxes of extent 8 and 7, face 1..6.
//   Pool Tiles:     cell 6, darkening 10, grout boxes of extent 6 and 5, face 1..4.
EffectOutput bathroomTiles(EffectContext& context);
EffectOutput mosaicTiles(EffectContext& context);
EffectOutput poolTiles(EffectContext& context);

// 3D Tiles: 8 x 8 tiles from each cell's top-left pixel: a light top and left edge (a component
// below 235 doubled, at most 255), a face of four thirds of each component (at most 255) and a
// one-pixel seam on the right and bottom in the scratch picture's colour. Scratch style.
EffectOutput tiles3D(EffectContext& context);

}  // namespace tess::fx
