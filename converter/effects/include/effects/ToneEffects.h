#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// Brighten and Darken: three passes per pixel move the components by steps of 10 without
// clamping. A component with no room for a whole step keeps its value and hands its step on to a
// later component of the same pixel (red to green to blue). In place.
EffectOutput brighten(EffectContext& context);
EffectOutput darken(EffectContext& context);

// The contrast pair over AdjustContrast: Decrease Contrast (amount 10) moves every component 10
// towards the middle, Increase Contrast (amount -10) 10 away from it, clamped to 0..255. They
// read the picture and draw into the scratch picture.
EffectOutput decreaseContrast(EffectContext& context);
EffectOutput increaseContrast(EffectContext& context);

// Black & White: black where red + green + blue <= 383, else white. In place.
EffectOutput blackAndWhite(EffectContext& context);
// Grayscale: every component becomes the largest of the three. In place.
EffectOutput grayscale(EffectContext& context);

}  // namespace tess::fx
