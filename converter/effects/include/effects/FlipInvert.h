#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// The Tools menu's three raster tools. Each reads the picture and draws into the cleared scratch
// picture (EffectStyle::Scratch), whose image becomes the working picture. Unlike the 38 effects
// they are not remembered as the last effect and have no preview.

// Mirror left to right: pixel (x, y) lands at (W - 1 - x, y).
EffectOutput flipHorizontal(EffectContext& context);
// Mirror top to bottom: pixel (x, y) lands at (x, H - 1 - y).
EffectOutput flipVertical(EffectContext& context);
// Every pixel becomes itself exclusive-or the cleared scratch colour: with the window colour
// white, each component c becomes 255 - c.
EffectOutput invertColours(EffectContext& context);

}  // namespace tess::fx
