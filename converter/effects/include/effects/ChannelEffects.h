#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// RGB Blue, RGB Green and RGB Red: one component of every pixel goes to 255, the other two stay.
// In place.
EffectOutput rgbBlue(EffectContext& context);
EffectOutput rgbGreen(EffectContext& context);
EffectOutput rgbRed(EffectContext& context);

// Neon: reseeds the random sequence from the clock (it draws nothing), then rotates the
// components: new red = old green, new green = old blue, new blue = old red. In place.
EffectOutput neon(EffectContext& context);

}  // namespace tess::fx
