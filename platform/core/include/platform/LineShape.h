#pragma once

#include "platform/Colour.h"

namespace tess {

// A line control: drawn on its container's surface, below the container's child windows, from
// (x1, y1) towards (x2, y2).
struct LineShape {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Colour borderColor = 0;
    bool visible = true;
};

}  // namespace tess
