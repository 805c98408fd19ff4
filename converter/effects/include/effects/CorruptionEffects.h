#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// Corruption: every colour, taken as one 24-bit number, divided by 3.14 and rounded to the nearest
// whole number (halves to even), so the components bleed into each other. In place.
EffectOutput corruption(EffectContext& context);

// Corruption Bars: every colour plus a running offset that grows by 10 at each pixel of a bar
// column, column by column and top to bottom. The bar columns are every n-th one, n =
// Int(H / 255 - 0.5), and every column where n <= 0. The sum is handed to the picture unmasked;
// the picture keeps its low 24 bits. In place.
EffectOutput corruptionBars(EffectContext& context);

}  // namespace tess::fx
