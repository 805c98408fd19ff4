#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// The emboss pair: the scratch picture, cleared to its colour, takes the picture combined into it
// by exclusive-or (the inverse against white); then every component of every pixel becomes
// Int((own + the scratch's at the neighbour) / 2), written into the picture itself. The neighbour
// lies two pixels back on the diagonal for Inner Emboss (column 1 for columns 0 to 3, likewise for
// rows) and two pixels on for Outer Emboss (held at the last column and row).
EffectOutput innerEmboss(EffectContext& context);
EffectOutput outerEmboss(EffectContext& context);

// Outline: black where a pixel differs from its left or upper neighbour (the whole colour
// compared), white elsewhere; the first row and column white. Drawn into the scratch picture.
EffectOutput outline(EffectContext& context);

// Infrared: pass 1 sets red to 255 and takes red off green and off blue where they exceed it; the
// result is combined by exclusive-or into the cleared scratch picture, which becomes the picture;
// pass 2 turns every pixel grey at its largest component. Against the white scratch colour that
// is grey 255 - min(green', blue').
EffectOutput infrared(EffectContext& context);

}  // namespace tess::fx
