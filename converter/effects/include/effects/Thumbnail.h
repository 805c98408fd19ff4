#pragma once

#include "platform/Colour.h"
#include "platform/Picture.h"

namespace tess::fx {

// The effects dialog's thumbnail: always 120 x 100 pixels, whatever the picture's proportions.
inline constexpr int kThumbnailWidth = 120;
inline constexpr int kThumbnailHeight = 100;

// The thumbnail of `picture` by bilinear interpolation. Target (X, Y) samples the picture at
// (X (W - 1) / 120, Y (H - 1) / 100), so a picture of 121 x 101 gives its own top-left corner
// unchanged. Each component is interpolated down the two columns and rounded, then across and
// rounded again (halves to the even neighbour), and limited to 0..255. Reads beyond the last
// column or row see the invalid colour, always with the weight 0. A picture with a side of 0 has
// nothing to sample: its thumbnail is `background` (the scratch picture's cleared colour)
// everywhere.
Picture makeThumbnail(const Picture& picture, Colour background);

}  // namespace tess::fx
