#pragma once

#include <string>
#include <vector>

namespace tess::testing {

// The bytes of a small GIF89a whose four-colour table holds red, green, blue and white (indices 0
// to 3), one palette index per pixel row by row; `transparentIndex` >= 0 adds a graphic control
// block that makes that index transparent. The LZW stream sends a clear code before every second
// pixel, so all codes stay three bits wide and no compression is needed.
std::string gifFixture(int width, int height, const std::vector<int>& indices,
                       int transparentIndex = -1);

}  // namespace tess::testing
