#pragma once

#include <cstdint>

#include "platform/Colour.h"

namespace tess::fx {

// The split most effects make of a colour they read, written out where they use it rather than
// through the colour helpers: red = c And 255, green = (c \ 256) And 255 with "\" truncating
// towards zero, blue = (c And &HFF0000) / 65536. For every colour read inside a picture it gives
// the colour's own components; the invalid colour -1 of a read outside splits into red 255,
// green 0, blue 255 (where the colour helpers give blue 0).
struct InlineSplit {
    int red;
    int green;
    int blue;

    explicit constexpr InlineSplit(Colour c)
        : red(c & 255), green((c / 256) & 255), blue((c & 0xFF0000) / 0x10000) {}

    // RGB(red, green, blue): the colour itself for a read inside, magenta 0xFF00FF for -1.
    constexpr Colour colour() const { return red + 256 * green + 65536 * blue; }
};

// The conversion of a fraction to a whole number: the nearest one, a half going to the even
// neighbour. Adding and taking away 1.5 x 2^52 leaves the value rounded to a whole number by the
// addition itself, under the default rounding mode (to nearest, ties to even), which nothing here
// changes; unlike a call to nearbyint it compiles to plain additions. Exact for |v| below 2^51,
// far beyond any value an effect forms.
inline std::int64_t nearestWhole(double v) {
    constexpr double kShift = 0x1.8p52;
    return static_cast<std::int64_t>((v + kShift) - kShift);
}

}  // namespace tess::fx
