#include "effects/ColumnEffects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "InlineSplit.h"
#include "PixelLoops.h"
#include "PixelVectors.h"

namespace tess::fx {

namespace {

std::int64_t asRead(Colour c) {
    return c;
}

std::int64_t corrupted(Colour c) {
    return nearestWhole(c / 3.14);
}

// The effects that draw no numbers take their pixels row by row; `pair(below, here)` gives the
// values of a run of columns from the row below shifted one column left (what the even columns
// read) and the row itself (what the odd ones read), a lane a column, the first column even.
// Past the last column and below the last row, `even` and `odd` take the rest, one pixel at a
// time, with the invalid colour for the reads outside.
template <class Even, class Odd, class Pair>
[[gnu::always_inline]] inline EffectOutput stripesByRow(EffectContext& context, Even even, Odd odd,
                                                        Pair pair) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* here = source.row(y);
        const std::uint32_t* below = y + 1 < height ? source.row(y + 1) : nullptr;
        std::uint32_t* out = target.row(y);
        int x = 0;
        if (below != nullptr) {
            for (; x + kVectorPixels < width; x += kVectorPixels) {
                prefetchForWrite(out + x);
                storePixels(out + x,
                            pair(loadPixels(below + x + 1), loadPixels(here + x)) & 0xFFFFFFu);
            }
        }
        for (; x < width; ++x) {
            if (x % 2 == 0) {
                const Colour c = below != nullptr && x + 1 < width
                                     ? static_cast<Colour>(below[x + 1])
                                     : kInvalidColour;
                out[x] = Picture::storedValue(even(c));
            } else {
                out[x] = Picture::storedValue(odd(static_cast<Colour>(here[x]), 0.0f));
            }
        }
    }
    return EffectOutput::Scratch;
}

// All ones in the lanes of odd columns.
[[gnu::always_inline]] inline Pixels oddLanes() {
    Pixels lanes{};
    for (int k = 1; k < kVectorPixels; k += 2)
        lanes[k] = ~0u;
    return lanes;
}

[[gnu::always_inline]] inline Pixels evenAndOdd(Pixels evens, Pixels odds) {
    const Pixels odd = oddLanes();
    return (evens & ~odd) | (odds & odd);
}

// A vector of Night Cam's pixels from its first (even) column on: the even columns the row
// below shifted left, the odd ones the row's own colours times the numbers `r`, one an odd column.
[[gnu::always_inline]] inline Pixels nightCamPixels(Pixels below, Pixels here, const float* r) {
    using Numbers = float __attribute__((vector_size(2 * kVectorPixels)));
    using Factors = float __attribute__((vector_size(4 * kVectorPixels)));
    static_assert(kVectorPixels == 16);
    Numbers numbers;
    std::memcpy(&numbers, r, sizeof numbers);
    const Factors factors =
        __builtin_shufflevector(numbers, numbers, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7);
    const Pixels scaled = roundedWhole(asDoubles(here) * __builtin_convertvector(factors, Doubles));
    return evenAndOdd(below, scaled) & 0xFFFFFFu;
}

}  // namespace

TESS_FX_VECTOR_CLONES
EffectOutput inversionScape(EffectContext& context) {
    auto negated = [](Colour c, float) { return -std::int64_t{c}; };
    return stripesByRow(context, asRead, negated, [](Pixels below, Pixels here) TESS_FX_INLINE {
        return evenAndOdd(below, Pixels{} - here);
    });
}

// The effect's own order is columns outer, rows inner, and Night Cam draws its random numbers in
// that order. The source is only read, so the shifted even columns see it unchanged throughout and
// only the order of the draws matters: the columns are taken in bands, each band's numbers drawn
// first column by column and laid out row by row, and the band's pixels then visited row by row,
// as they lie in memory. The product of a colour and a 24-bit fraction is exact in double
// precision.
TESS_FX_VECTOR_CLONES
EffectOutput nightCam(EffectContext& context) {
    // Columns; each band's rows are long enough runs for the processor to fetch ahead, and its
    // numbers stay in the second-level cache.
    constexpr int kBand = 16 * kVectorPixels;
    constexpr auto kOdd = static_cast<std::size_t>(kBand / 2);
    constexpr int kAhead = 8;  // rows
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    const auto rows = static_cast<std::size_t>(height);
    std::vector<float> drawn(kOdd * rows);
    std::vector<float> numbers(kOdd * rows);  // the band's numbers, row by row
    for (int band = 0; band < width; band += kBand) {
        const int end = std::min(band + kBand, width);
        const auto odd = static_cast<std::size_t>((end - band) / 2);
        for (std::size_t k = 0; k < odd; ++k)
            context.random.fill(drawn.data() + k * rows, rows);
        for (std::size_t y = 0; y < rows; ++y) {
            for (std::size_t k = 0; k < odd; ++k)
                numbers[y * kOdd + k] = drawn[k * rows + y];
        }
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* here = source.row(y);
            // The row below, where an even column reads; past the bottom every read is -1.
            const std::uint32_t* below = y + 1 < height ? source.row(y + 1) : nullptr;
            std::uint32_t* out = target.row(y);
            const float* r = numbers.data() + static_cast<std::size_t>(y) * kOdd;
            int x = band;
            if (below != nullptr) {
                // A band's rows are too short for the processor to see them as one stream, so
                // the rows a few ahead are asked for.
                const bool ahead = y + kAhead + 1 < height;
                // Whole vectors while the row below reaches past them.
                for (; x + kVectorPixels <= end && x + kVectorPixels < width;
                     x += kVectorPixels, r += kVectorPixels / 2) {
                    if (ahead) {
                        __builtin_prefetch(below + kAhead * width + x);
                        __builtin_prefetch(out + kAhead * width + x, 1);
                    }
                    storePixels(out + x,
                                nightCamPixels(loadPixels(below + x + 1), loadPixels(here + x), r));
                }
            }
            // Bands and vectors start on an even column.
            for (; x < end; x += 2) {
                const Colour c = below != nullptr && x + 1 < width
                                     ? static_cast<Colour>(below[x + 1])
                                     : kInvalidColour;
                out[x] = Picture::storedValue(c);
                if (x + 1 < end)
                    out[x + 1] = Picture::storedValue(
                        nearestWhole(static_cast<double>(here[x + 1]) * static_cast<double>(*r++)));
            }
        }
    }
    return EffectOutput::Scratch;
}

TESS_FX_VECTOR_CLONES
EffectOutput stereoGraph(EffectContext& context) {
    return stripesByRow(
        context, corrupted, [](Colour c, float) { return corrupted(c); },
        [](Pixels below, Pixels here)
            TESS_FX_INLINE { return roundedQuotients(evenAndOdd(below, here), 3.14); });
}

}  // namespace tess::fx
