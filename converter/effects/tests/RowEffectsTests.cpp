#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/RowEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::pictureOf;
using testing::PixelMap;

TEST(RowEffects, RowsChangeAtTheirStep) {
    Legend legend = testing::distinctLegend("abcdefghijklmnopqrstuvwxyz");
    legend['#'] = 0x000000;
    const struct {
        const char* effect;
        PixelMap source;
        PixelMap expected;
    } cases[] = {
        // Row 1 takes row 3 and row 4 takes row 6; row 0's copy goes to row -2, outside.
        {"Interlace",
         {"aa", "bc", "dd", "ef", "gg", "hi", "jk"},
         {"aa", "ef", "dd", "ef", "jk", "hi", "jk"}},
        // Nine rows scan rows 0, 3 and 6: rows 7 and 8 keep their colours.
        {"Interlace",
         {"a", "b", "c", "d", "e", "f", "g", "h", "i"},
         {"a", "d", "c", "d", "g", "f", "g", "h", "i"}},
        // Three rows or fewer: nothing lands inside.
        {"Interlace", {"ab", "cd", "ef"}, {"ab", "cd", "ef"}},
        {"Visor", {"ab", "cd", "ef", "gh"}, {"##", "cd", "##", "gh"}},
        {"Visor", {"abc"}, {"###"}},
        {"Visor", {"a", "b", "c"}, {"#", "b", "#"}},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect + std::to_string(c.source.size()));
        const Picture source = pictureOf(c.source, legend);
        EXPECT_EQ(mapOf(runner.apply(entryNamed(c.effect), source), legend), c.expected);
        EXPECT_EQ(mapOf(runner.preview(entryNamed(c.effect), source), legend), c.expected);
    }
}

}  // namespace
}  // namespace tess::fx
