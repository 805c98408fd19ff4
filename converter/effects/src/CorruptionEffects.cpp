#include "effects/CorruptionEffects.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "InlineSplit.h"
#include "PixelLoops.h"
#include "PixelVectors.h"

namespace tess::fx {

// Each pixel is read and written at once and never read again, so the order of visits does not
// matter and the rows can be walked as they lie in memory. A colour of at most 0xFFFFFF gives at
// most 0x518756: no mask is needed.
TESS_FX_VECTOR_CLONES
EffectOutput corruption(EffectContext& context) {
    mapVectors(context.picture, [](Pixels c) TESS_FX_INLINE { return roundedQuotients(c, 3.14); });
    return EffectOutput::Picture;
}

// The offset is held in 64 bits. Within the picture layer's sizes it stays far below 2^31 (it
// grows by 10 per pixel of a bar column, and the bars thin out as the picture grows taller), but
// nothing in the rule itself bounds it, and a sum must never wrap into a value that means
// something else to the picture.
//
// The offset runs column by column; what a pixel receives is worked out per column first (the
// offset reached before the column, and whether it grows inside it), so the pixels can then be
// visited row by row as they lie in memory, with the same sums.
TESS_FX_VECTOR_CLONES
EffectOutput corruptionBars(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    const int height = picture.height();
    const auto every = static_cast<std::int64_t>(std::floor(height / 255.0 - 0.5));
    struct Column {
        std::int64_t before;  // the offset when the column starts
        std::int64_t step;    // 10 in a bar column, else 0
    };
    std::vector<Column> columns(static_cast<std::size_t>(width));
    std::int64_t offset = 0;
    for (int x = 0; x < width; ++x) {
        // With n = 0 the remainder cannot be formed; the failed test is passed over and the
        // offset grows, as for any n below 1.
        const bool bar = every <= 0 || x % every == 0;
        columns[static_cast<std::size_t>(x)] = {offset, bar ? 10 : 0};
        if (bar) {
            offset += std::int64_t{10} * height;
        }
    }
    // Only the sum's low 24 bits reach the picture, and they depend only on the low 32 bits of
    // what is added, so the sums can be made in 32 bits, whole rows at a time: each column's
    // addend grows by its step from one row to the next.
    std::vector<std::uint32_t> addends(static_cast<std::size_t>(width));
    std::vector<std::uint32_t> steps(static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < addends.size(); ++x) {
        steps[x] = static_cast<std::uint32_t>(columns[x].step);
        addends[x] = static_cast<std::uint32_t>(columns[x].before) + steps[x];
    }
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = picture.row(y);
        for (std::size_t x = 0; x < addends.size(); ++x) {
            row[x] = Picture::storedValue(row[x] + addends[x]);
            addends[x] += steps[x];
        }
    }
    return EffectOutput::Picture;
}

}  // namespace tess::fx
