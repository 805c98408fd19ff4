#include "effects/ReliefEffects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "InlineSplit.h"
#include "PixelLoops.h"
#include "PixelVectors.h"

namespace tess::fx {

namespace {

// Int((a + b) / 2) of each component at once: the common bits plus half the differing ones,
// with no carry from one component into the next. For a pixel or a vector of them.
template <class P>
[[gnu::always_inline]] inline P componentMeans(P a, P b) {
    return (a & b) + (((a ^ b) & 0xFEFEFEu) >> 1);
}

// The neighbour rule of an emboss: the neighbour of `at` along a side of `size`. In the middle of
// the side it lies `shift` places away.
struct EmbossRule {
    int (*neighbour)(int at, int size);
    int shift;
};

// The neighbour of every column (and of every row) is fixed by the rule. Each pixel is read just
// before it is written and never read again, and every neighbour comes from the reference, the
// inverted copy of the picture as it was, so rows and columns may be visited in any order. The
// reference is made row by row just ahead of the rows that read it: a row of the reference is
// made from its picture row before the pass changes that row.
[[gnu::always_inline]] inline EffectOutput emboss(EffectContext& context, EmbossRule rule) {
    Picture& picture = context.picture;
    Picture& reference = context.scratch;
    const int width = picture.width();
    const int height = picture.height();
    // The reference read gives -1 outside (only Inner Emboss on a picture one pixel wide or
    // high reads there), which splits into red 255, green 0, blue 255.
    const auto outside = static_cast<std::uint32_t>(InlineSplit(kInvalidColour).colour());
    // The columns whose neighbour lies `shift` places away, [first, last), are taken as whole
    // runs; the others one by one.
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const int nx = rule.neighbour(x, width);
        columns[static_cast<std::size_t>(x)] = nx < width ? nx : -1;
    }
    auto shifted = [&](int x) {
        const int nx = columns[static_cast<std::size_t>(x)];
        return nx >= 0 && nx == x + rule.shift;
    };
    int first = 0;
    while (first < width && !shifted(first))
        ++first;
    int last = first;
    while (last < width && shifted(last))
        ++last;
    int made = 0;  // rows of the reference made so far
    auto makeReferenceRows = [&](int upTo) {
        for (; made <= upTo && made < height; ++made) {
            const std::uint32_t* in = picture.row(made);
            std::uint32_t* out = reference.row(made);
            for (int x = 0; x < width; ++x)
                out[x] ^= in[x];
        }
    };
    for (int y = 0; y < height; ++y) {
        const int ny = rule.neighbour(y, height);
        makeReferenceRows(std::max(y, ny));
        const std::uint32_t* other = ny < height ? reference.row(ny) : nullptr;
        std::uint32_t* row = picture.row(y);
        auto one = [&](int x) {
            const int nx = columns[static_cast<std::size_t>(x)];
            const std::uint32_t n = other != nullptr && nx >= 0 ? other[nx] : outside;
            row[x] = componentMeans(row[x], n);
        };
        if (other == nullptr) {
            for (int x = 0; x < width; ++x)
                one(x);
            continue;
        }
        for (int x = 0; x < first; ++x)
            one(x);
        int x = first;
        for (; x + kVectorPixels <= last; x += kVectorPixels)
            storePixels(row + x,
                        componentMeans(loadPixels(row + x), loadPixels(other + x + rule.shift)));
        for (; x < width; ++x)
            one(x);
    }
    makeReferenceRows(height - 1);
    return EffectOutput::Picture;
}

int innerNeighbour(int at, int /*size*/) {
    return at < 3 ? 1 : at - 2;
}

int outerNeighbour(int at, int size) {
    return at > size - 3 ? size - 1 : at + 2;
}

}  // namespace

TESS_FX_VECTOR_CLONES
EffectOutput innerEmboss(EffectContext& context) {
    return emboss(context, {innerNeighbour, -2});
}

TESS_FX_VECTOR_CLONES
EffectOutput outerEmboss(EffectContext& context) {
    return emboss(context, {outerNeighbour, 2});
}

namespace {

// Whether a pixel has the colour of its left and its upper neighbour: white, else black.
[[gnu::always_inline]] inline Pixels outlined(Pixels here, Pixels left, Pixels above) {
    const Pixels differences = (here ^ left) | (here ^ above);
    return differences == 0 ? splat(0xFFFFFFu) : splat(0);
}

}  // namespace

// The pass visits columns 1 to W and rows 1 to H; the visits of column W and row H read the
// invalid colour there and write outside, so they change nothing and are left out. As the
// picture is only read, the visits can go row by row.
TESS_FX_VECTOR_CLONES
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
        int x = 1;
        for (; x + kVectorPixels <= width; x += kVectorPixels) {
            prefetchForWrite(out + x);
            storePixels(out + x, outlined(loadPixels(here + x), loadPixels(here + x - 1),
                                          loadPixels(above + x)));
        }
        for (; x < width; ++x)
            out[x] = here[x] == here[x - 1] && here[x] == above[x] ? 0xFFFFFFu : 0u;
    }
    return EffectOutput::Scratch;
}

namespace {

// Pass 1: red full; green and blue less red where they exceed it.
[[gnu::always_inline]] inline Pixels redFull(Pixels c) {
    const Pixels red = c & 0xFFu;
    const Bytes under = asBytes(red | red << 8 | red << 16);
    const Bytes v = asBytes(c);
    const Pixels reduced = asPixels(v > under ? v - under : v);
    return (reduced & 0xFFFF00u) | 0xFFu;
}

// Pass 2: grey at the level of the largest component.
[[gnu::always_inline]] inline Pixels greyOfLargest(Pixels c) {
    const Bytes v = asBytes(c);
    const Bytes m = maxBytes(maxBytes(v, asBytes(c >> 8)), asBytes(c >> 16));
    const Pixels level = asPixels(m) & 0xFFu;
    return level | level << 8 | level << 16;
}

}  // namespace

// The two passes and the inversion between them, pixel by pixel: each pixel's result depends on
// its own colour only. The scratch picture is left holding the inverted pass-1 picture and the
// working picture the grey one, as after the three steps one after the other.
TESS_FX_VECTOR_CLONES
EffectOutput infrared(EffectContext& context) {
    Picture& picture = context.picture;
    Picture& scratch = context.scratch;
    const auto width = static_cast<std::size_t>(picture.width());
    for (int y = 0; y < picture.height(); ++y) {
        std::uint32_t* row = picture.row(y);
        std::uint32_t* back = scratch.row(y);
        std::size_t x = 0;
        auto run = [&](std::uint32_t* pixels, std::uint32_t* inverted) TESS_FX_INLINE {
            const Pixels inverse = loadPixels(inverted) ^ redFull(loadPixels(pixels));
            storePixels(inverted, inverse);
            storePixels(pixels, greyOfLargest(inverse));
        };
        for (; x + kVectorPixels <= width; x += kVectorPixels)
            run(row + x, back + x);
        if (x < width) {
            std::uint32_t pixels[kVectorPixels] = {};
            std::uint32_t inverted[kVectorPixels] = {};
            const std::size_t rest = width - x;
            std::copy(row + x, row + width, pixels);
            std::copy(back + x, back + width, inverted);
            run(pixels, inverted);
            std::copy(pixels, pixels + rest, row + x);
            std::copy(inverted, inverted + rest, back + x);
        }
    }
    return EffectOutput::Picture;
}

}  // namespace tess::fx
