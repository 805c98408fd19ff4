#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// TV: reseeds the random sequence from the clock, then draws one number r per row, before the
// row's first pixel, and raises component Int(r x 3) (0 red, 1 green, 2 blue) of every pixel of
// that row by 40, stopping at 255. In place.
EffectOutput tv(EffectContext& context);

// TV Snow (Color): every pixel of the picture, row by row, thrown onto the scratch picture at
// (Int(u x W), Int(v x H)) with u then v the next two numbers of the random sequence, which is
// not reseeded. Places that receive nothing keep the scratch picture's colour.
EffectOutput tvSnowColour(EffectContext& context);

// TV Snow: the picture painted black above the middle row and white from it down, every even row
// then blackened; the random sequence reseeded from the clock; and that pattern thrown onto the
// scratch picture as TV Snow (Color) throws the picture.
EffectOutput tvSnow(EffectContext& context);

}  // namespace tess::fx
