#pragma once

#include <cstdint>

namespace tess {

// The offsets of the one-pixel outline of a circle of radius r around (0, 0), by midpoint
// rasterisation, one octant computed and mirrored into all eight:
//   x = r, y = 0, e = 1 - r; while x >= y: (+-x, +-y) and (+-y, +-x); y += 1;
//   if e < 0 then e += 2y + 1 else x -= 1, e += 2(y - x) + 1.
// Radius 0 gives the centre, radius 1 its four neighbours. Offsets on the octants' borders come
// more than once.
template <class Put>
void walkCircle(std::int64_t r, Put put) {
    std::int64_t x = r;
    std::int64_t y = 0;
    std::int64_t e = 1 - r;
    while (x >= y) {
        put(x, y);
        put(-x, y);
        put(x, -y);
        put(-x, -y);
        put(y, x);
        put(-y, x);
        put(y, -x);
        put(-y, -x);
        ++y;
        if (e < 0) {
            e += 2 * y + 1;
        } else {
            --x;
            e += 2 * (y - x) + 1;
        }
    }
}

}  // namespace tess
