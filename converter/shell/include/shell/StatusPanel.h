#pragma once

#include <cstdint>

#include "platform/Colour.h"
#include "platform/PictureBox.h"

namespace tess {

// The status panel's drawing: the sunken frame around the bar's holder and the bar itself, on the
// persistent surfaces of the panel's picture boxes.

inline constexpr Colour kBarColour = systemColour(13);            // &H8000000D, highlight
inline constexpr Colour kRunningSwatchColour = systemColour(17);  // &H80000011, grey text

// The rectangle of a control within the surface it is drawn around, in pixels.
struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Rings 2 to `thickness` of a sunken bevel around `control`: shadow along the top and the left,
// highlight along the bottom and the right, the corners one step in on the diagonal. Lines leave
// out their end point.
void drawSunkenBevel(Picture& surface, const ControlRect& control, int thickness);

// The bar's right edge in pixels of a bar `pixelWidth` wide whose full width stands for
// `scaleWidth` units (one unit per cell during a run); a scale of 0 or less measures in pixels.
int barPixel(std::int64_t units, std::int64_t scaleWidth, int pixelWidth);

// The bar from the left edge to column `right` included, all rows, in the highlight colour, with
// its four corners cut back to the box's back colour. A bar at column 0 has no width.
void drawProgressBar(PictureBox& bar, int right);

}  // namespace tess
