#include "effects/ColumnEffects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "InlineSplit.h"

namespace tess::fx {

namespace {

enum class Draws { None, OnePerOddPixel };

// The Part's order is columns outer, rows inner, and Night Cam draws its random numbers in that
// order. The source is only read, so the shifted even columns see it unchanged throughout and
// only the order of the draws matters: the columns are taken in bands, each band's numbers drawn
// first column by column, and the band's pixels then visited row by row, as they lie in memory.
template <class Even, class Odd>
EffectOutput stripes(EffectContext& context, Draws draws, Even even, Odd odd) {
    constexpr int kBand = 32;  // columns, so a band holds 16 odd ones
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    std::vector<float> numbers;
    if (draws == Draws::OnePerOddPixel) {
        numbers.resize(static_cast<std::size_t>(kBand / 2) * static_cast<std::size_t>(height));
    }
    for (int band = 0; band < width; band += kBand) {
        const int end = std::min(band + kBand, width);
        if (draws == Draws::OnePerOddPixel) {
            float* next = numbers.data();
            for (int x = band + 1; x < end; x += 2) {
                context.random.fill(next, static_cast<std::size_t>(height));
                next += height;
            }
        }
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* here = source.row(y);
            // The row below, where an even column reads; past the bottom every read is -1.
            const std::uint32_t* below = y + 1 < height ? source.row(y + 1) : nullptr;
            std::uint32_t* out = target.row(y);
            // Bands start on an even column.
            for (int x = band; x < end; x += 2) {
                const Colour c = below != nullptr && x + 1 < width
                                     ? static_cast<Colour>(below[x + 1])
                                     : kInvalidColour;
                out[x] = Picture::storedValue(even(c));
            }
            for (int x = band + 1; x < end; x += 2) {
                const float r = numbers.empty() ? 0.0f
                                                : numbers[static_cast<std::size_t>((x - band) / 2) *
                                                              static_cast<std::size_t>(height) +
                                                          static_cast<std::size_t>(y)];
                out[x] = Picture::storedValue(odd(static_cast<Colour>(here[x]), r));
            }
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
    return stripes(context, Draws::None, asRead, [](Colour c, float) { return -std::int64_t{c}; });
}

// The product of two 24-bit numbers is exact in double precision.
EffectOutput nightCam(EffectContext& context) {
    return stripes(context, Draws::OnePerOddPixel, asRead, [](Colour c, float r) {
        return nearestWhole(static_cast<double>(c) * static_cast<double>(r));
    });
}

EffectOutput stereoGraph(EffectContext& context) {
    return stripes(context, Draws::None, corrupted, [](Colour c, float) { return corrupted(c); });
}

}  // namespace tess::fx
