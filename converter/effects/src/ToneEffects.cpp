#include "effects/ToneEffects.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "PixelLoops.h"
#include "effects/ColourHelpers.h"

namespace tess::fx {

namespace {

constexpr int kStep = 10;

// Brighten and Darken without a branch per pixel. What the three passes do to a pixel depends
// only on how many whole steps each component has room for. Pass 1 offers a step to red, green,
// blue; pass 2 to green, blue; pass 3 to blue; each step goes to the first with room left. So red
// takes one step where it has room; green takes what it has room for, up to two, or up to one
// when red took pass 1; blue is offered every pass the others did not take and takes what it has
// room for. `Up` is Brighten: room means staying at or below 255, else at or above 0.
template <bool Up>
std::uint32_t stepThreeTimes(std::uint32_t c) {
    const auto r = static_cast<int>(c & 0xFF);
    const auto g = static_cast<int>((c >> 8) & 0xFF);
    const auto b = static_cast<int>(c >> 16);
    auto room = [](int v, int steps) {
        return (Up ? v + steps * kStep <= 255 : v - steps * kStep >= 0) ? 1 : 0;
    };
    const int dr = room(r, 1);
    const int greenRoom = room(g, 1) + room(g, 2);
    const int dg = greenRoom < 2 - dr ? greenRoom : 2 - dr;
    const int blueRoom = room(b, 1) + room(b, 2) + room(b, 3);
    const int db = blueRoom < 3 - dr - dg ? blueRoom : 3 - dr - dg;
    // A component with room is never carried past its limit, so no step crosses into the next.
    const auto change = static_cast<std::uint32_t>(kStep * (dr + 256 * dg + 65536 * db));
    return Up ? c + change : c - change;
}

// AdjustContrast on the three components of a pixel at once, each in its own byte, for the
// amounts the effects use; `amounts` holds the amount's size in every component. With |amount| <=
// 128 no sum below leaves its byte: 7-bit parts plus at most 128 stay below 256, and a byte with
// its top bit set minus at most 128 stays at 0 or above.
constexpr std::uint32_t kOnes = 0x010101;  // 1 in every component
constexpr std::uint32_t kTops = 0x808080;  // the top bit of every component

// The bytes where `bits` has its top bit set, as 0xFF, the others 0 (without a multiplication,
// which the vector units lack for 32-bit lanes).
constexpr std::uint32_t byteMask(std::uint32_t bits) {
    const std::uint32_t tops = bits & kTops;
    return (tops << 1) - (tops >> 7);
}

// Positive amounts: bright components fall by the amount and dark ones rise by it; no clamp
// can act.
constexpr std::uint32_t towardsMiddle(std::uint32_t c, std::uint32_t amounts) {
    const std::uint32_t bright = byteMask(c);
    return c + (amounts & ~bright) - (amounts & bright);
}

// Negative amounts (by their size): bright components rise, at most to 255, dark ones fall, at
// least to 0.
constexpr std::uint32_t awayFromMiddle(std::uint32_t c, std::uint32_t amounts) {
    const std::uint32_t raised = (c & 0x7F7F7F) + amounts;  // top bit: passes 255
    const std::uint32_t up = raised | kTops | byteMask(raised);
    const std::uint32_t lowered = (c | kTops) - amounts;  // top bit clear: passes 0
    const std::uint32_t down = lowered & 0x7F7F7F & byteMask(lowered);
    const std::uint32_t bright = byteMask(c);
    return (up & bright) | (down & ~bright & 0xFFFFFF);
}

TESS_FX_VECTOR_CLONES
EffectOutput contrast(EffectContext& context, int amount) {
    if (amount >= 0) {
        const std::uint32_t by = static_cast<std::uint32_t>(amount) * kOnes;
        mapPixelsInto(context.picture, context.scratch,
                      [by](std::uint32_t c) { return towardsMiddle(c, by); });
    } else {
        const std::uint32_t by = static_cast<std::uint32_t>(-amount) * kOnes;
        mapPixelsInto(context.picture, context.scratch,
                      [by](std::uint32_t c) { return awayFromMiddle(c, by); });
    }
    return EffectOutput::Scratch;
}

}  // namespace

TESS_FX_VECTOR_CLONES
EffectOutput brighten(EffectContext& context) {
    mapPixels(context.picture, stepThreeTimes<true>);
    return EffectOutput::Picture;
}

TESS_FX_VECTOR_CLONES
EffectOutput darken(EffectContext& context) {
    mapPixels(context.picture, stepThreeTimes<false>);
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
