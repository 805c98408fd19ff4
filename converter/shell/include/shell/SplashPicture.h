#pragma once

#include "platform/Picture.h"

namespace tess {

// The 380 x 250 picture of the splash window: the product name over a strip of coloured mosaic
// characters. The area where the splash shows its beta label (276, 152, 59 x 18) is left plain.
Picture SplashPicture();

}  // namespace tess
