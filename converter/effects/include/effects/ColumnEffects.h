#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// Even and odd columns treated differently, drawn into the scratch picture. An even column takes
// the picture shifted one pixel up and left: the pixel at (X + 1, Y + 1), the invalid colour -1
// where that lies outside (the last row, and the last column when it is even). An odd column
// transforms its own pixel c, the colour taken as one whole number:
//   InversionScape: even as read, odd -c (the negated number, not the components);
//   Night Cam:      even as read, odd c x r rounded half to even, with r the next number of the
//                   program-wide random sequence (one per odd-column pixel, never reseeded);
//   StereoGraph:    both divided by 3.14 and rounded half to even (-1 gives 0).
// The values go to the picture unmasked; it keeps their low 24 bits (-1 shows as white).
EffectOutput inversionScape(EffectContext& context);
EffectOutput nightCam(EffectContext& context);
EffectOutput stereoGraph(EffectContext& context);

}  // namespace tess::fx
