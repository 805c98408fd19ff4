#pragma once

#include <cstdint>

#include "platform/Colour.h"
#include "platform/Picture.h"

namespace tess::bench {

// A 4000 x 3000 picture of smooth gradients with a little noise, like a photo; made once.
inline const Picture& photoPicture() {
    static const Picture picture = [] {
        constexpr int kWidth = 4000;
        constexpr int kHeight = 3000;
        Picture p(kWidth, kHeight);
        std::uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            std::uint32_t* row = p.row(y);
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1103515245u + 12345u;
                const int n = static_cast<int>((noise >> 16) & 15);
                row[x] = static_cast<std::uint32_t>(
                    rgb((x * 255 / kWidth + n) & 255, (y * 255 / kHeight + n) & 255,
                        ((x + y) * 255 / (kWidth + kHeight)) & 255));
            }
        }
        return p;
    }();
    return picture;
}

}  // namespace tess::bench
