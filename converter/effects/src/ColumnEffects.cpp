#include "effects/ColumnEffects.h"

#include <cstdint>

#include "InlineSplit.h"

namespace tess::fx {

namespace {

// Columns outer and rows inner, as the random numbers of Night Cam are drawn in that order. The
// source is only read, so the shifted even columns see it unchanged throughout.
template <class Even, class Odd>
EffectOutput stripes(EffectContext& context, Even even, Odd odd) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    for (int x = 0; x <= source.width() - 1; ++x) {
        const bool isEven = x % 2 == 0;
        for (int y = 0; y <= source.height() - 1; ++y) {
            const std::int64_t value =
                isEven ? even(source.pixel(x + 1, y + 1)) : odd(source.pixel(x, y));
            target.setPixelValue(x, y, value);
        }
    }
    return EffectOutput::Scratch;
}

std::int64_t asRead(Colour c) {
    return c;
}

std::int64_t corrupted(Colour c) {
    return nearestWhole(c / 3.14);
}

}  // namespace

EffectOutput inversionScape(EffectContext& context) {
    return stripes(context, asRead, [](Colour c) { return -std::int64_t{c}; });
}

EffectOutput nightCam(EffectContext& context) {
    Random& random = context.random;
    // The product of two 24-bit numbers is exact in double precision.
    return stripes(context, asRead, [&random](Colour c) {
        return nearestWhole(static_cast<double>(c) * static_cast<double>(random.next()));
    });
}

EffectOutput stereoGraph(EffectContext& context) {
    return stripes(context, corrupted, corrupted);
}

}  // namespace tess::fx
