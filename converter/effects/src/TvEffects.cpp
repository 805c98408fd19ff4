#include "effects/TvEffects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "InlineSplit.h"
#include "PixelLoops.h"
#include "PixelVectors.h"

namespace tess::fx {

namespace {

// Int(r x n) for a number of the sequence: r is below 1, so the product is below n and the place
// always lies inside. The product of a 24-bit fraction and a side is exact in double precision.
int scaled(float r, int n) {
    return static_cast<int>(std::floor(static_cast<double>(r) * n));
}

// Two numbers per pixel, column first, in the order of the loops; a row's numbers are drawn
// together before its pixels are thrown.
EffectOutput throwPixels(EffectContext& context) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    std::vector<float> numbers(2 * static_cast<std::size_t>(width));
    for (int y = 0; y <= height - 1; ++y) {
        context.random.fill(numbers.data(), numbers.size());
        const std::uint32_t* row = source.row(y);
        for (int x = 0; x <= width - 1; ++x) {
            const float u = numbers[2 * static_cast<std::size_t>(x)];
            const float v = numbers[2 * static_cast<std::size_t>(x) + 1];
            target.setPixel(scaled(u, width), scaled(v, height), static_cast<Colour>(row[x]));
        }
    }
    return EffectOutput::Scratch;
}

}  // namespace

TESS_FX_VECTOR_CLONES
EffectOutput tv(EffectContext& context) {
    constexpr std::uint32_t kBoost = 40;
    reseedFromClock(context);
    Picture& picture = context.picture;
    for (int y = 0; y <= picture.height() - 1; ++y) {
        const int channel = scaled(context.random.next(), 3);
        const int shift = 8 * channel;
        // min(component + 40, 255) is min(component, 215) + 40, on the row's channel only.
        const Bytes limit = splatBytes(~(kBoost << shift));  // 255 - 40 = 215 on the channel
        const Bytes boost = splatBytes(kBoost << shift);
        std::uint32_t* row = picture.row(y);
        mapRun(row, row, static_cast<std::size_t>(picture.width()), [&](Pixels c) TESS_FX_INLINE {
            return asPixels(minBytes(asBytes(c), limit) + boost);
        });
    }
    return EffectOutput::Picture;
}

EffectOutput tvSnowColour(EffectContext& context) {
    return throwPixels(context);
}

EffectOutput tvSnow(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    const int height = picture.height();
    // The two boxes meet on the row of H / 2, a half rounding to the even row; the white one is
    // drawn second and takes it.
    const int middle = Picture::pixelCoordinate(static_cast<float>(height) / 2.0f);
    picture.fillBox(0, 0, width, middle, 0x000000);
    picture.fillBox(0, middle, width, height, 0xFFFFFF);
    reseedFromClock(context);
    for (int y = 0; y <= height - 1; y += 2) {
        std::uint32_t* row = picture.row(y);
        std::fill(row, row + width, 0u);
    }
    return throwPixels(context);
}

}  // namespace tess::fx
