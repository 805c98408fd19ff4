#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "PixelLoops.h"
#include "platform/Picture.h"

namespace tess::fx {

// A run of pixels handled as one value, in the compiler's vector types: as `Pixels`, one 32-bit
// pixel a lane; as `Bytes`, one colour component a lane (red, green, blue and the unused top byte
// of each pixel side by side). Arithmetic on Bytes never carries from one component into the
// next. A comparison gives a lane of all ones where it holds, else zero. The compiler turns each
// operation into as many vector instructions as the build's vector unit needs (one for AVX-512,
// two for AVX2).
constexpr int kVectorPixels = 16;
using Pixels = std::uint32_t __attribute__((vector_size(4 * kVectorPixels)));
using Bytes = std::uint8_t __attribute__((vector_size(4 * kVectorPixels)));
// The same lanes as signed numbers, and as double-precision numbers.
using Lanes = std::int32_t __attribute__((vector_size(4 * kVectorPixels)));
using Doubles = double __attribute__((vector_size(8 * kVectorPixels)));

// Marks a lambda that takes or gives vectors: like the helpers here it must be inlined into its
// caller, the effect built for the processor's vector unit, since a real call would pass the
// vectors differently in the builds for different units.
#define TESS_FX_INLINE __attribute__((always_inline))

[[gnu::always_inline]] inline Pixels loadPixels(const std::uint32_t* from) {
    Pixels v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

[[gnu::always_inline]] inline void storePixels(std::uint32_t* to, Pixels v) {
    std::memcpy(to, &v, sizeof v);
}

template <class Vector>
[[gnu::always_inline]] inline Bytes asBytes(Vector v) {
    return reinterpret_cast<Bytes>(v);
}

[[gnu::always_inline]] inline Pixels asPixels(Bytes v) {
    return reinterpret_cast<Pixels>(v);
}

// The same 32-bit value in every lane.
[[gnu::always_inline]] inline Pixels splat(std::uint32_t value) {
    return Pixels{} + value;
}

// The same four bytes in every pixel, given as a 32-bit value (0x00BBGGRR).
[[gnu::always_inline]] inline Bytes splatBytes(std::uint32_t value) {
    return asBytes(splat(value));
}

// nearestWhole(lane) in every lane, for values within the signed 32-bit range: made whole by the
// addition and subtraction of 1.5 x 2^52, a half going to the even neighbour, as nearestWhole()
// does.
[[gnu::always_inline]] inline Pixels roundedWhole(Doubles v) {
    constexpr double kShift = 0x1.8p52;
    const Doubles whole = (v + kShift) - kShift;
    return reinterpret_cast<Pixels>(__builtin_convertvector(whole, Lanes));
}

// The lanes read as signed 32-bit numbers, in double precision.
[[gnu::always_inline]] inline Doubles asDoubles(Pixels v) {
    return __builtin_convertvector(reinterpret_cast<Lanes>(v), Doubles);
}

// nearestWhole(lane / divisor) in every lane, the lanes read as signed 32-bit numbers, the
// quotient in double precision.
[[gnu::always_inline]] inline Pixels roundedQuotients(Pixels v, double divisor) {
    return roundedWhole(asDoubles(v) / divisor);
}

// The pixels in the opposite order.
[[gnu::always_inline]] inline Pixels reversed(Pixels v) {
    static_assert(kVectorPixels == 16);
    return __builtin_shufflevector(v, v, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}

[[gnu::always_inline]] inline Bytes minBytes(Bytes a, Bytes b) {
    return a < b ? a : b;
}

[[gnu::always_inline]] inline Bytes maxBytes(Bytes a, Bytes b) {
    return a > b ? a : b;
}

// Tells the processor that the pixels some way after `at` are about to be written, so that it
// fetches their lines for writing while the pixels before are worked on: a loop that writes into
// another picture than it reads otherwise waits for each line of the target.
[[gnu::always_inline]] inline void prefetchForWrite(const std::uint32_t* at) {
    __builtin_prefetch(at + 8 * kVectorPixels, 1);
}

// Runs `count` pixels from `in` to `out` (which may be the same place) through `map`, a function
// of Pixels. The last run shorter than a vector goes through the same map on a padded copy, so
// every pixel takes the one recipe.
template <class Map>
[[gnu::always_inline]] inline void mapRun(const std::uint32_t* in, std::uint32_t* out,
                                          std::size_t count, Map map) {
    std::size_t x = 0;
    for (; x + kVectorPixels <= count; x += kVectorPixels) {
        prefetchForWrite(out + x);
        storePixels(out + x, map(loadPixels(in + x)));
    }
    if (x < count) {
        std::uint32_t tail[kVectorPixels] = {};
        const std::size_t rest = count - x;
        std::memcpy(tail, in + x, rest * sizeof(std::uint32_t));
        storePixels(tail, map(loadPixels(tail)));
        std::memcpy(out + x, tail, rest * sizeof(std::uint32_t));
    }
}

// Every pixel of `picture` replaced by map(pixels), row by row.
template <class Map>
[[gnu::always_inline]] inline void mapVectors(Picture& picture, Map map) {
    const auto width = static_cast<std::size_t>(picture.width());
    for (int y = 0; y < picture.height(); ++y)
        mapRun(picture.row(y), picture.row(y), width, map);
}

// Every pixel of `target` set to map(the pixels of `source` at the same places); the two
// pictures have the same size.
template <class Map>
[[gnu::always_inline]] inline void mapVectorsInto(const Picture& source, Picture& target, Map map) {
    const auto width = static_cast<std::size_t>(source.width());
    for (int y = 0; y < source.height(); ++y)
        mapRun(source.row(y), target.row(y), width, map);
}

}  // namespace tess::fx
