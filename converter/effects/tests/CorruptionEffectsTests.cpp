#include <gtest/gtest.h>

#include <cstdint>

#include "EffectsTestSupport.h"
#include "effects/CorruptionEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;

// The colour as one number divided by 3.14, to the nearest whole number. No quotient of a whole
// number by 3.14 lies exactly on a half, so the cases pin the side each one falls on.
TEST(Corruption, DividesTheWholeColourValue) {
    const struct {
        Colour in;
        Colour out;
    } cases[] = {
        {0xFFFFFF, 0x518756},  // 5343062.10
        {0x0000FF, 0x000051},  // 81.2
        {0x00FF00, 0x005136},  // 20789.8
        {0xFF0000, 0x5135CF},  // 5322191.1
        {0x000000, 0x000000},
        {1, 0},   // 0.318
        {2, 1},   // 0.637: rounded, not cut
        {5, 2},   // 1.592
        {11, 4},  // 3.503: just above the half
        {8, 3},   // 2.548
        {7, 2},   // 2.229
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(runner.apply(entryNamed("Corruption"), Picture(1, 1, c.in)).pixel(0, 0), c.out);
        EXPECT_EQ(runner.preview(entryNamed("Corruption"), Picture(1, 1, c.in)).pixel(0, 0), c.out);
    }
}

// On a black picture every pixel shows the offset it received.
std::int64_t offsetAt(const Picture& result, int x, int y) {
    return result.pixel(x, y);
}

TEST(CorruptionBars, OffsetGrowsInBarColumnsColumnByColumn) {
    EffectRunner runner;
    const auto& bars = entryNamed("Corruption Bars");
    {
        // n = -1 below 128 rows: every pixel is a bar pixel, the k-th in column order gets 10k.
        const Picture r = runner.apply(bars, Picture(100, 100, 0));
        EXPECT_EQ(offsetAt(r, 0, 0), 10);
        EXPECT_EQ(offsetAt(r, 0, 1), 20);
        EXPECT_EQ(offsetAt(r, 0, 99), 1000);
        EXPECT_EQ(offsetAt(r, 1, 0), 1010);
        EXPECT_EQ(offsetAt(r, 99, 99), 100000);
        EXPECT_EQ(runner.preview(bars, Picture(100, 100, 0)), r);
    }
    {
        // n = 2 at 700 rows: columns 0, 2, 4, ... ramp, the others hold the offset reached.
        const Picture r = runner.apply(bars, Picture(5, 700, 0));
        EXPECT_EQ(offsetAt(r, 0, 0), 10);
        EXPECT_EQ(offsetAt(r, 0, 699), 7000);
        EXPECT_EQ(offsetAt(r, 1, 0), 7000);
        EXPECT_EQ(offsetAt(r, 1, 699), 7000);
        EXPECT_EQ(offsetAt(r, 2, 0), 7010);
        EXPECT_EQ(offsetAt(r, 2, 699), 14000);
        EXPECT_EQ(offsetAt(r, 3, 350), 14000);
        EXPECT_EQ(offsetAt(r, 4, 0), 14010);
    }
}

// n = Int(H / 255 - 0.5) at the heights where it steps, seen in the last pixel of column 2:
// with every column a bar (n <= 1) it is 3 x 10 x H; with n = 2 columns 0 and 2 ramp; with n = 3
// only column 0 does.
TEST(CorruptionBars, BarSpacingStepsWithTheHeight) {
    const struct {
        int height;
        std::int64_t lastOfColumn2;
    } cases[] = {
        {127, 3 * 1270},  // n = -1
        {128, 3 * 1280},  // n = 0: the failed remainder counts as a bar
        {382, 3 * 3820},  // n = 0
        {383, 3 * 3830},  // n = 1
        {637, 3 * 6370},  // n = 1
        {638, 2 * 6380},  // n = 2
        {892, 2 * 8920},  // n = 2
        {893, 8930},      // n = 3
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const Picture r = runner.apply(entryNamed("Corruption Bars"), Picture(3, c.height, 0));
        EXPECT_EQ(offsetAt(r, 2, c.height - 1), c.lastOfColumn2);
    }
}

// The sum is not masked by the effect: the picture keeps its low 24 bits, the one rule of every
// pixel write, so white plus 10 carries out of the top and shows as red 9.
TEST(CorruptionBars, SumsAboveTheTopColourKeepTheirLow24Bits) {
    EffectRunner runner;
    const Picture r = runner.apply(entryNamed("Corruption Bars"), Picture(1, 2, 0xFFFFFF));
    EXPECT_EQ(r.pixel(0, 0), 0x000009);
    EXPECT_EQ(r.pixel(0, 1), 0x000013);
}

}  // namespace
}  // namespace tess::fx
