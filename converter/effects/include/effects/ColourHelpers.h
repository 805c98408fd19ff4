#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/Colour.h"

namespace tess::fx {

// A colour split into its three components. The field order (blue, green, red) is the record's
// layout as the contrast routines have always stored it.
struct RGBTriple {
    std::int16_t Blue = 0;
    std::int16_t Green = 0;
    std::int16_t Red = 0;
    bool operator==(const RGBTriple&) const = default;
};

// Red = c And 255, Green = (c \ 256) And 255, Blue = (c \ 65536) And 255, with "\" truncating
// towards zero: the invalid colour -1 splits into red 255, green 0, blue 0.
RGBTriple SplitRGB(const Colour& c);
// Red + 256 Green + 65536 Blue; a component above 255 counts as 255.
Colour RGBOf(const RGBTriple& t);
// 0 for a value below 0, else the value.
std::int16_t ClampLow(const std::int16_t& value);
// 255 for a value above 255, else the value.
std::int16_t ClampHigh(const std::int16_t& value);
// One component of AdjustContrast, in whole numbers: a component of 128 or more (bright)
// becomes c - amount, at most 255; a darker one c + amount, at least 0. The contrast effects map
// every pixel's components with this.
constexpr int adjustComponent(int c, int amount) {
    return c >= 128 ? std::min(c - amount, 255) : std::max(c + amount, 0);
}

// Per component, in the order red, blue, green: a component of 128 or more becomes
// ClampHigh(c - amount), a smaller one ClampLow(c + amount). Changes `t` and returns a copy of it.
// With components of 0..255 and the amounts the effects use (plus or minus 10) every sum fits;
// a sum outside the 16-bit range saturates there before the clamp.
RGBTriple AdjustContrast(RGBTriple& t, const std::int16_t& amount);

}  // namespace tess::fx
