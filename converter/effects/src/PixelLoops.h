#pragma once

#include <cstdint>

#include "platform/Picture.h"

// The effects' pixel loops gain most from wider vector units. Where the compiler can, a function
// marked with this is built three times, and the program picks the AVX-512 build (x86-64-v4) or
// the AVX2 build on processors that have them when it starts.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
#define TESS_FX_VECTOR_CLONES [[gnu::target_clones("arch=x86-64-v4", "avx2", "default")]]
#else
#define TESS_FX_VECTOR_CLONES
#endif

namespace tess::fx {

// Every pixel of `picture` replaced by map(pixel), rows outer and columns inner. For maps where a
// pixel depends only on its own colour, so the order of visits cannot change the result.
template <class Map>
void mapPixels(Picture& picture, Map map) {
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        std::uint32_t* row = picture.row(y);
        for (int x = 0; x < width; ++x)
            row[x] = map(row[x]);
    }
}

// Every pixel of `target` set to map(the pixel of `source` at the same place); the two pictures
// have the same size.
template <class Map>
void mapPixelsInto(const Picture& source, Picture& target, Map map) {
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const std::uint32_t* in = source.row(y);
        std::uint32_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            out[x] = map(in[x]);
    }
}

}  // namespace tess::fx
