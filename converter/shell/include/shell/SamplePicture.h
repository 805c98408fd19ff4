#pragma once

#include "platform/Picture.h"

namespace tess {

// The working picture the converter starts with: a 140 x 92 landscape, the same pixels on every
// machine, so a first mosaic can be made before any file is loaded.
Picture SamplePicture();

}  // namespace tess
