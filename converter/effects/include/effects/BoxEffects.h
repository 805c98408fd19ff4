#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// One square per grid point in the colour of the pixel there, drawn into the scratch picture
// column by column, later squares covering earlier ones:
//   Blur:   every 2nd pixel, filled 2 x 2 (a two-pixel pixelation; nothing is averaged);
//   Boxes:  every 5th pixel, the outline of a 4 x 4 square (its inside and the lane to the next
//           square keep the scratch picture's colour);
//   Mosaic: every 4th pixel, filled 5 x 5, so each 4 x 4 cell shows its top-left pixel.
EffectOutput blur(EffectContext& context);
EffectOutput boxes(EffectContext& context);
EffectOutput mosaic(EffectContext& context);

// Pixelate: on a grid of 4 x 4 cells whose first row and column stay as they are, each cell's
// 3 x 3 block takes the colour of the block's centre, or of the cell's own grid column (row) where
// the last cell is cut short by the picture's edge. In place.
EffectOutput pixelate(EffectContext& context);

}  // namespace tess::fx
