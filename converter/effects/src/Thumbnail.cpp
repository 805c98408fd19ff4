#include "effects/Thumbnail.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/Runtime.h"

namespace tess::fx {

namespace {

// The components as the effects split a colour inline: red = c And 255, green = (c \ 256) And 255
// with "\" truncating towards zero, blue = (c And &HFF0000) / &H10000. The invalid colour -1
// gives red 255, green 0, blue 255.
std::array<double, 3> componentsOf(Colour c) {
    return {static_cast<double>(c & 255), static_cast<double>((c / 256) & 255),
            static_cast<double>((c & 0xFF0000) / 0x10000)};
}

// A sample position: the whole pixel and the single-precision fraction past it.
struct Sample {
    int whole;
    double fraction;
};

Sample sampleAt(int target, float ratio) {
    const float at = static_cast<float>(target) * ratio;
    const float whole = std::floor(at);
    return {static_cast<int>(whole), static_cast<double>(at - whole)};
}

}  // namespace

Picture makeThumbnail(const Picture& picture, Colour background) {
    Picture thumbnail(kThumbnailWidth, kThumbnailHeight, background);
    const int width = picture.width();
    const int height = picture.height();
    if (width == 0 || height == 0)
        return thumbnail;
    const auto xr = static_cast<float>((width - 1) / static_cast<double>(kThumbnailWidth));
    const auto yr = static_cast<float>((height - 1) / static_cast<double>(kThumbnailHeight));
    for (int y = 0; y < kThumbnailHeight; ++y) {
        const Sample sy = sampleAt(y, yr);
        for (int x = 0; x < kThumbnailWidth; ++x) {
            const Sample sx = sampleAt(x, xr);
            const auto topLeft = componentsOf(picture.pixel(sx.whole, sy.whole));
            const auto topRight = componentsOf(picture.pixel(sx.whole + 1, sy.whole));
            const auto bottomLeft = componentsOf(picture.pixel(sx.whole, sy.whole + 1));
            const auto bottomRight = componentsOf(picture.pixel(sx.whole + 1, sy.whole + 1));
            std::array<int, 3> out{};
            for (std::size_t k = 0; k < 3; ++k) {
                const double dy = sy.fraction;
                const double dx = sx.fraction;
                const double left = rt::roundHalfEven((1 - dy) * topLeft[k] + bottomLeft[k] * dy);
                const double right =
                    rt::roundHalfEven((1 - dy) * topRight[k] + bottomRight[k] * dy);
                out[k] = std::clamp(rt::roundHalfEven((1 - dx) * left + dx * right), 0, 255);
            }
            thumbnail.setPixel(x, y, rgb(out[0], out[1], out[2]));
        }
    }
    return thumbnail;
}

}  // namespace tess::fx
