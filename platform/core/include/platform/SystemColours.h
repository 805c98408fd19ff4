#pragma once

#include "platform/Colour.h"

namespace tess {

// Resolves system colour references (0x800000nn) to plain colours through one program-wide table.
// The table starts with the classic standard scheme; tests may fix entries so drawn pixels are
// predictable whatever the desktop theme.
class SystemColours {
public:
    static Colour resolve(Colour c);  // plain colours come back unchanged
    static void set(int index, Colour value);
    static void resetToDefaults();
};

}  // namespace tess
