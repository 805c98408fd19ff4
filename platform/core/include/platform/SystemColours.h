#pragma once

#include "platform/Colour.h"

namespace tess {

// Resolves system colour references (0x800000nn) to plain colours through one program-wide table.
// The table starts with the classic standard scheme; tests may fix entries so drawn pixels are
// predictable whatever the desktop theme.
class SystemColours {
  public:
    static constexpr int kCount = 31;  // indices 0 to 30

    // Plain colours (and other non-references such as -1) come back unchanged; a reference to an
    // index the table does not hold gives black.
    static Colour resolve(Colour c);
    // Stores the low 24 bits of `value` for index 0..kCount-1; other indices are ignored.
    static void set(int index, Colour value);
    static void resetToDefaults();
};

}  // namespace tess
