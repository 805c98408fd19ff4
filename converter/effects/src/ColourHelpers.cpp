#include "effects/ColourHelpers.h"

#include <algorithm>
#include <limits>

namespace tess::fx {

namespace {

std::int16_t saturate16(int value) {
    return static_cast<std::int16_t>(std::clamp<int>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

// The record holds 16-bit components: a sum beyond them saturates.
void adjust(std::int16_t& c, std::int16_t amount) {
    c = saturate16(adjustComponent(c, amount));
}

}  // namespace

RGBTriple SplitRGB(const Colour& c) {
    RGBTriple t;
    t.Red = static_cast<std::int16_t>(c & 255);
    t.Green = static_cast<std::int16_t>((c / 256) & 255);
    t.Blue = static_cast<std::int16_t>((c / 65536) & 255);
    return t;
}

Colour RGBOf(const RGBTriple& t) {
    return rgb(t.Red, t.Green, t.Blue);
}

std::int16_t ClampLow(const std::int16_t& value) {
    return value < 0 ? std::int16_t{0} : value;
}

std::int16_t ClampHigh(const std::int16_t& value) {
    return value > 255 ? std::int16_t{255} : value;
}

RGBTriple AdjustContrast(RGBTriple& t, const std::int16_t& amount) {
    adjust(t.Red, amount);
    adjust(t.Blue, amount);
    adjust(t.Green, amount);
    return t;
}

}  // namespace tess::fx
