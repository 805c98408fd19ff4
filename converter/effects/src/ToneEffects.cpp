#include "effects/ToneEffects.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "PixelLoops.h"
#include "PixelVectors.h"
#include "effects/ColourHelpers.h"

namespace tess::fx {

namespace {

// Brighten and Darken without a branch per pixel. What the three passes do to a pixel depends
// only on how many whole steps of 10 each component has room for. Pass 1 offers a step to red,
// green, blue; pass 2 to green, blue; pass 3 to blue; each step goes to the first with room left.
// So red takes one step where it has room; green takes what it has room for, up to two, or up to
// one when red took pass 1; blue is offered every pass the others did not take and takes what it
// has room for. `Up` is Brighten: room means staying at or below 255, else at or above 0.
template <bool Up>
[[gnu::always_inline]] inline Pixels stepThreeTimes(Pixels c) {
    const Bytes v = asBytes(c);
    // The steps that fit, 0 to 3: each test that fails gives -1.
    const Bytes fit = Up ? 3 + asBytes(v > 245) + asBytes(v > 235) + asBytes(v > 225)
                         : 3 + asBytes(v < 10) + asBytes(v < 20) + asBytes(v < 30);
    // The most steps each component can be offered: red 1, green 2, blue 3, the top byte none.
    const Bytes offered = splatBytes(0x030201);
    const Bytes room = minBytes(fit, offered);
    // Green loses the step red took; then blue loses the steps red and green took. Shifting a
    // pixel up by a byte puts each component's count under the next component.
    const Bytes first = minBytes(room, offered - asBytes(asPixels(room) << 8));
    const Bytes steps =
        minBytes(first, offered - asBytes(asPixels(first) << 8) - asBytes(asPixels(first) << 16));
    // At most 3 steps a component: 10 times that stays inside its byte, and a component with
    // room is never carried past its limit, so no sum crosses into the next component.
    const Pixels n = asPixels(steps);
    const Pixels change = (n << 3) + (n << 1);
    return Up ? c + change : c - change;
}

// AdjustContrast on the three components of a pixel at once; `amounts` holds the amount's size
// in each component and 0 in the top byte, which so stays 0.
// Positive amounts: bright components (128 and above) fall by the amount and dark ones rise by
// it; no clamp can act.
[[gnu::always_inline]] inline Pixels towardsMiddle(Pixels c, Bytes amounts) {
    const Bytes v = asBytes(c);
    const auto bright = v >= 128;
    return asPixels(bright ? v - amounts : v + amounts);
}

// Negative amounts (by their size): bright components rise, at most to 255, dark ones fall, at
// least to 0.
[[gnu::always_inline]] inline Pixels awayFromMiddle(Pixels c, Bytes amounts) {
    const Bytes v = asBytes(c);
    const auto bright = v >= 128;
    const Bytes raised = minBytes(v, ~amounts) + amounts;
    const Bytes lowered = maxBytes(v, amounts) - amounts;
    return asPixels(bright ? raised : lowered);
}

TESS_FX_VECTOR_CLONES
EffectOutput contrast(EffectContext& context, int amount) {
    const Bytes amounts =
        splatBytes(static_cast<std::uint32_t>(amount < 0 ? -amount : amount) * 0x010101u);
    if (amount >= 0) {
        mapVectorsInto(context.picture, context.scratch,
                       [amounts](Pixels c) TESS_FX_INLINE { return towardsMiddle(c, amounts); });
    } else {
        mapVectorsInto(context.picture, context.scratch,
                       [amounts](Pixels c) TESS_FX_INLINE { return awayFromMiddle(c, amounts); });
    }
    return EffectOutput::Scratch;
}

}  // namespace

TESS_FX_VECTOR_CLONES
EffectOutput brighten(EffectContext& context) {
    mapVectors(context.picture, [](Pixels c) TESS_FX_INLINE { return stepThreeTimes<true>(c); });
    return EffectOutput::Picture;
}

TESS_FX_VECTOR_CLONES
EffectOutput darken(EffectContext& context) {
    mapVectors(context.picture, [](Pixels c) TESS_FX_INLINE { return stepThreeTimes<false>(c); });
    return EffectOutput::Picture;
}

EffectOutput decreaseContrast(EffectContext& context) {
    return contrast(context, 10);
}

EffectOutput increaseContrast(EffectContext& context) {
    return contrast(context, -10);
}

TESS_FX_VECTOR_CLONES
EffectOutput blackAndWhite(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) {
        const std::uint32_t sum = (c & 0xFF) + ((c >> 8) & 0xFF) + (c >> 16);
        return sum <= 383 ? 0u : 0xFFFFFFu;
    });
    return EffectOutput::Picture;
}

TESS_FX_VECTOR_CLONES
EffectOutput grayscale(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) {
        const std::uint32_t top = std::max(std::max(c & 0xFF, (c >> 8) & 0xFF), c >> 16);
        return top * 0x010101u;
    });
    return EffectOutput::Picture;
}

}  // namespace tess::fx
