#pragma once

#include "platform/Picture.h"

namespace tess::testing {

// A picture whose every pixel differs from its neighbours, so a misplaced pixel shows.
inline Picture gradient(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, rgb(x * 7 % 256, y * 13 % 256, (x * 3 + y * 5) % 256));
    }
    return picture;
}

}  // namespace tess::testing
