#include <gtest/gtest.h>

#include <vector>

#include "EffectsTestSupport.h"
#include "effects/ColumnEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;

// Four columns, two rows: the even columns 0 and 2 show the pixel one down and one right, which
// lies outside on the bottom row (the read gives -1); the odd columns 1 and 3 transform their
// own pixel. Values the picture cannot hold as they are keep their low 24 bits, so -1 is white.
Picture fixture() {
    Picture p(4, 2);
    const Colour rows[2][4] = {{0x000001, 0x000005, 0x0000FF, 0xFFFFFF},
                               {0x00FF00, 0x000003, 0xFF0000, 0x123456}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            p.setPixel(x, y, rows[y][x]);
    }
    return p;
}

using Rows = std::vector<std::vector<Colour>>;

Rows rowsOf(const Picture& p) {
    Rows rows(static_cast<std::size_t>(p.height()));
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x)
            rows[static_cast<std::size_t>(y)].push_back(p.pixel(x, y));
    }
    return rows;
}

TEST(ColumnEffects, EvenColumnsShiftAndOddColumnsTransform) {
    const struct {
        const char* effect;
        Rows expected;
    } cases[] = {
        // -5, -3, -0xFFFFFF and -0x123456 as whole numbers; -1 and its low 24 bits: white.
        {"InversionScape",
         {{0x000003, 0xFFFFFB, 0x123456, 0x000001}, {0xFFFFFF, 0xFFFFFD, 0xFFFFFF, 0xEDCBAA}}},
        // The random numbers 0.5, 0.5, 0.25, 0.75 go to (1, 0), (1, 1), (3, 0), (3, 1): columns
        // first. 2.5 and 1.5 both round to 2; 894784.5 to the even 894784; 4194303.75 up.
        {"Night Cam",
         {{0x000003, 0x000002, 0x123456, 0x400000}, {0xFFFFFF, 0x000002, 0xFFFFFF, 0x0DA740}}},
        // Both kinds divided by 3.14: 3 gives 1, 5 gives 2, -1 gives 0 (black), 0x123456 gives
        // 379950.96, rounded up.
        {"StereoGraph",
         {{0x000001, 0x000002, 0x05CC2F, 0x518756}, {0x000000, 0x000001, 0x000000, 0x05CC2F}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        EffectRunner runner;
        runner.random.setValues({0.5f, 0.5f, 0.25f, 0.75f});
        EXPECT_EQ(rowsOf(runner.apply(entryNamed(c.effect), fixture())), c.expected);
        runner.random.setValues({0.5f, 0.5f, 0.25f, 0.75f});
        EXPECT_EQ(rowsOf(runner.preview(entryNamed(c.effect), fixture())), c.expected);
    }
}

TEST(ColumnEffects, NightCamDrawsOneNumberPerOddPixelAndNeverReseeds) {
    EffectRunner runner;
    runner.apply(entryNamed("Night Cam"), Picture(5, 3, 0x123456));
    EXPECT_EQ(runner.random.history(), "nnnnnn");  // columns 1 and 3, three rows each
    EXPECT_EQ(runner.random.drawCount(), 6);
}

// Night Cam's numbers go down each odd column before the next one, across the whole width: on a
// picture of 2^20 everywhere the number k / 128 shows as 8192 k, so each odd pixel shows which
// draw it took.
TEST(ColumnEffects, NightCamDrawsColumnByColumnAcrossTheWholeWidth) {
    constexpr int kWidth = 70;
    constexpr int kHeight = 3;
    std::vector<float> numbers;
    for (int k = 0; k < (kWidth / 2) * kHeight; ++k)
        numbers.push_back(static_cast<float>(k) / 128.0f);
    EffectRunner runner;
    runner.random.setValues(numbers);
    const Picture result = runner.apply(entryNamed("Night Cam"), Picture(kWidth, kHeight, 1 << 20));
    for (int x = 1; x < kWidth; x += 2) {
        for (int y = 0; y < kHeight; ++y) {
            const int draw = (x / 2) * kHeight + y;
            EXPECT_EQ(result.pixel(x, y), 8192 * draw) << x << ", " << y;
        }
    }
    EXPECT_EQ(result.pixel(68, 0), 1 << 20);  // an even column: the pixel one down and right
    EXPECT_EQ(runner.random.drawCount(), (kWidth / 2) * kHeight);
}

TEST(ColumnEffects, OnePixelWideReadsOutsideEverywhere) {
    EffectRunner runner;
    EXPECT_EQ(rowsOf(runner.apply(entryNamed("InversionScape"), Picture(1, 2, 0x123456))),
              (Rows{{0xFFFFFF}, {0xFFFFFF}}));
    EXPECT_EQ(rowsOf(runner.apply(entryNamed("StereoGraph"), Picture(1, 2, 0x123456))),
              (Rows{{0x000000}, {0x000000}}));
    // InversionScape of black leaves its odd columns black.
    EXPECT_EQ(rowsOf(runner.apply(entryNamed("InversionScape"), Picture(2, 2, 0)))[0][1], 0);
}

}  // namespace
}  // namespace tess::fx
