#pragma once

#include <string>

#include "platform/Colour.h"
#include "platform/Picture.h"

namespace tess {

// The 380 x 250 picture of the splash window: the product name over a strip of coloured mosaic
// characters. The area where the splash shows its beta label (276, 152, 59 x 18) is left plain.
Picture SplashPicture();

// A cell of the splash's mosaic strip, `row` from the top and `col` from the left: its two
// characters and their colour.
std::string SplashCellText(int row, int col);
Colour SplashCellColour(int row, int col);

}  // namespace tess
