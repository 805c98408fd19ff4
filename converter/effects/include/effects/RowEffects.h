#pragma once

#include "effects/Effect.h"

namespace tess::fx {

// Interlace: rows 0, 3, 6, ... are each copied two rows up (row 0 to row -2, outside), so rows
// 1, 4, 7, ... repeat the row two below them. In place.
EffectOutput interlace(EffectContext& context);
// Visor: rows 0, 2, 4, ... turn black. In place.
EffectOutput visor(EffectContext& context);

}  // namespace tess::fx
