#pragma once

#include "platform/Picture.h"

namespace tess {

// The 524 x 59 banner across the top of the effects dialog: the dialog's name beside a strip of
// one picture's tiles, each in another effect's colours.
Picture EffectsBanner();

}  // namespace tess
