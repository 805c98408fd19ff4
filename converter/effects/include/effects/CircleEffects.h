#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// Rings of the colour of the pixel at their centre, drawn into the scratch picture at every point
// of a square grid, column by column and top to bottom, smallest ring first; where groups overlap
// the later ring shows.
//   Eyes:       step 6, radii 1, 3, 5
//   Targets:    step 11, radii 1, 3, 5
//   X-Files:    step 6, radii 1, 2, 4
//   CircleWorm: step 6, radii 2, 4
//   Circular:   step 4, radius 4
EffectOutput eyes(EffectContext& context);
EffectOutput targets(EffectContext& context);
EffectOutput xFiles(EffectContext& context);
EffectOutput circleWorm(EffectContext& context);
EffectOutput circular(EffectContext& context);

// Spiral: one ring per sample of a 20 x 20 grid (steps W / 20 and H / 20 in single precision, the
// samples read at the nearest whole pixel), all around the picture's centre, the k-th with radius
// k. Scratch style.
EffectOutput spiral(EffectContext& context);

}  // namespace tess::fx
