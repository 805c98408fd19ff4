#include "effects/ReliefEffects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "InlineSplit.h"
#include "platform/Blit.h"

namespace tess::fx {

namespace {

// The scratch picture as cleared, combined with the picture by exclusive-or.
void invertIntoScratch(EffectContext& context) {
    const Picture& picture = context.picture;
    bitBlt(context.scratch, 0, 0, picture.width(), picture.height(), picture, 0, 0,
           RasterOp::SrcInvert);
}

// Int((a + b) / 2) of each component at once: the common bits plus half the differing ones,
// with no carry from one component into the next.
std::uint32_t componentMeans(std::uint32_t a, std::uint32_t b) {
    return (a & b) + (((a ^ b) & 0xFEFEFEu) >> 1);
}

// The neighbour of every column (and of every row) is fixed by the rule, so it is worked out
// once per column and once per row. Each pixel is read just before it is written and never read
// again, and every neighbour comes from the unchanged reference, so rows and columns may be
// visited in any order.
template <class Neighbour>
EffectOutput emboss(EffectContext& context, Neighbour neighbour) {
    invertIntoScratch(context);
    Picture& picture = context.picture;
    const Picture& reference = context.scratch;
    const int width = picture.width();
    const int height = picture.height();
    // The reference read gives -1 outside (only Inner Emboss on a picture one pixel wide or
    // high reads there), which splits into red 255, green 0, blue 255.
    const auto outside = static_cast<std::uint32_t>(InlineSplit(kInvalidColour).colour());
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const int nx = neighbour(x, width);
        columns[static_cast<std::size_t>(x)] = nx < width ? nx : -1;
    }
    for (int y = 0; y < height; ++y) {
        const int ny = neighbour(y, height);
        const std::uint32_t* other = ny < height ? reference.row(ny) : nullptr;
        std::uint32_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            const int nx = columns[static_cast<std::size_t>(x)];
            const std::uint32_t n = other != nullptr && nx >= 0 ? other[nx] : outside;
            row[x] = componentMeans(row[x], n);
        }
    }
    return EffectOutput::Picture;
}

int innerNeighbour(int at, int /*size*/) {
    return at < 3 ? 1 : at - 2;
}

int outerNeighbour(int at, int size) {
    return at > size - 3 ? size - 1 : at + 2;
}

}  // namespace

EffectOutput innerEmboss(EffectContext& context) {
    return emboss(context, innerNeighbour);
}

EffectOutput outerEmboss(EffectContext& context) {
    return emboss(context, outerNeighbour);
}

// The pass visits columns 1 to W and rows 1 to H; the visits of column W and row H read the
// invalid colour there and write outside, so they change nothing and are left out. As the
// picture is only read, the visits can go row by row.
EffectOutput outline(EffectContext& context) {
    constexpr Colour kWhite = 0xFFFFFF;
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    target.line(0, 0, width, 0, kWhite);
    target.line(0, 0, 0, height, kWhite);
    for (int y = 1; y < height; ++y) {
        const std::uint32_t* above = source.row(y - 1);
        const std::uint32_t* here = source.row(y);
        std::uint32_t* out = target.row(y);
        for (int x = 1; x < width; ++x) {
            const bool same = here[x] == here[x - 1] && here[x] == above[x];
            out[x] = same ? 0xFFFFFFu : 0u;
        }
    }
    return EffectOutput::Scratch;
}

EffectOutput infrared(EffectContext& context) {
    Picture& picture = context.picture;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        std::uint32_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            InlineSplit c(static_cast<Colour>(row[x]));
            if (c.blue > c.red) {
                c.blue -= c.red;
            }
            if (c.green > c.red) {
                c.green -= c.red;
            }
            row[x] = static_cast<std::uint32_t>(255 + 256 * c.green + 65536 * c.blue);
        }
    }
    invertIntoScratch(context);
    picture = context.scratch;
    for (int y = 0; y < picture.height(); ++y) {
        std::uint32_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            const InlineSplit c(static_cast<Colour>(row[x]));
            const auto m = static_cast<std::uint32_t>(std::max({c.red, c.green, c.blue}));
            row[x] = m * 0x010101u;
        }
    }
    return EffectOutput::Picture;
}

}  // namespace tess::fx
