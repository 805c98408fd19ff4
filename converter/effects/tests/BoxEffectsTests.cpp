#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/BoxEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::pictureOf;
using testing::PixelMap;

Legend lettersAndBack(Colour back) {
    Legend legend =
        testing::distinctLegend("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@");
    legend['.'] = back;
    return legend;
}

const PixelMap kSeven{"abcdefg", "hijklmn", "opqrstu", "vwxyzAB", "CDEFGHI"};
const PixelMap kNine{"abcdefghi", "jklmnopqr", "stuvwxyzA", "BCDEFGHIJ", "KLMNOPQRS"};

TEST(BoxEffects, SquaresFromTheGridPoints) {
    const struct {
        const char* effect;
        PixelMap source;
        PixelMap expected;  // letters: the source pixel shown; '.': the scratch colour
    } cases[] = {
        // 2 x 2 blocks; the odd last column is the first half of a block cut by the edge.
        {"Blur", kSeven, {"aacceeg", "aacceeg", "ooqqssu", "ooqqssu", "CCEEGGI"}},
        // 5 x 5 boxes every 4 pixels: the next box down and to the right covers the overlap, so
        // each 4 x 4 cell shows its top-left pixel; column 8 starts a cell of its own.
        {"Mosaic", kNine, {"aaaaeeeei", "aaaaeeeei", "aaaaeeeei", "aaaaeeeei", "KKKKOOOOS"}},
        // 4 x 4 outlines every 5 pixels; their insides and the lanes between keep the scratch
        // colour.
        {"Boxes", kSeven, {"aaaa.ff", "a..a.f.", "a..a.f.", "aaaa.ff", "......."}},
    };
    EffectRunner runner;
    const Legend legend = lettersAndBack(0xFFFFFF);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        const Picture source = pictureOf(c.source, legend);
        EXPECT_EQ(mapOf(runner.apply(entryNamed(c.effect), source), legend), c.expected);
        EXPECT_EQ(mapOf(runner.preview(entryNamed(c.effect), source), lettersAndBack(0xC0C0C0)),
                  c.expected);
    }
}

TEST(BoxEffects, SecondRunChangesNothingInside) {
    EffectRunner runner;
    const Legend legend = lettersAndBack(0xFFFFFF);
    for (const char* effect : {"Blur", "Mosaic", "Boxes"}) {
        SCOPED_TRACE(effect);
        const Picture once = runner.apply(entryNamed(effect), pictureOf(kNine, legend));
        EXPECT_EQ(runner.apply(entryNamed(effect), once), once);
    }
}

// The block of each cell takes the sample at its centre (X + 2, Y + 2); a cell cut short by the
// right (bottom) edge, Y + 2 > H - 2, samples its own grid column (row) instead. The grid itself,
// every fourth row and column from 0, is never written, nor is anything outside.
TEST(Pixelate, BlocksFromTheirCentresOrTheGridLine) {
    const Legend legend = lettersAndBack(0xFFFFFF);
    const struct {
        PixelMap source;
        PixelMap expected;
    } cases[] = {
        {{"abcdefgh", "ijklmnop", "qrstuvwx", "yzABCDEF", "GHIJKLMN", "OPQRSTUV", "WXYZ0123",
          "456789!@"},
         {"abcdefgh", "isssmwww", "qsssuwww", "ysssCwww", "GHIJKLMN", "OYYYS222", "WYYY0222",
          "4YYY8222"}},
        // 6 x 5: the cell at X = 4 samples column 4 and writes only column 5; the cells of the
        // row Y = 4 sample row 4 and write nothing inside.
        {{"abcdef", "ghijkl", "mnopqr", "stuvwx", "yzABCD"},
         {"abcdef", "goookq", "moooqq", "sooowq", "yzABCD"}},
        // Narrower than a cell: the only cell samples its grid column.
        {{"abc", "def", "ghi"}, {"abc", "daa", "gaa"}},
        {{"a"}, {"a"}},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.size());
        const Picture source = pictureOf(c.source, legend);
        EXPECT_EQ(mapOf(runner.apply(entryNamed("Pixelate"), source), legend), c.expected);
        EXPECT_EQ(mapOf(runner.preview(entryNamed("Pixelate"), source), legend), c.expected);
    }
}

}  // namespace
}  // namespace tess::fx
