#include <gtest/gtest.h>

#include "effects/ColourHelpers.h"

namespace tess::fx {
namespace {

TEST(ColourHelpers, SplitRGBTruncatesTowardsZero) {
    struct Case {
        Colour colour;
        RGBTriple expected;  // blue, green, red
    };
    const Case cases[] = {
        {0x00FFFFFF, {255, 255, 255}},
        {0x000080FF, {0, 128, 255}},
        {0x00123456, {0x12, 0x34, 0x56}},
        // -1 \ 256 is 0, not -1: the invalid colour is red only.
        {-1, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitRGB(c.colour), c.expected) << c.colour;
    }
}

TEST(ColourHelpers, RGBOfReadsTheFieldsInTheirOrder) {
    EXPECT_EQ(RGBOf(RGBTriple{1, 2, 3}), 3 + 512 + 65536);
    EXPECT_EQ(RGBOf(RGBTriple{255, 0, 300}), 255 + 65536 * 255);
}

TEST(ColourHelpers, ClampsKeepTheBoundsThemselves) {
    EXPECT_EQ(ClampLow(-1), 0);
    EXPECT_EQ(ClampLow(0), 0);
    EXPECT_EQ(ClampLow(7), 7);
    EXPECT_EQ(ClampHigh(256), 255);
    EXPECT_EQ(ClampHigh(255), 255);
    EXPECT_EQ(ClampHigh(-3), -3);
}

TEST(ColourHelpers, AdjustContrastChangesTheRecordAndReturnsIt) {
    struct Case {
        RGBTriple in;  // blue, green, red
        std::int16_t amount;
        RGBTriple expected;
    };
    const Case cases[] = {
        {{0, 127, 128}, 10, {10, 137, 118}},
        {{5, 250, 128}, -10, {0, 255, 138}},
        {{255, 0, 130}, 10, {245, 10, 120}},
        {{125, 255, 0}, -10, {115, 255, 0}},
    };
    for (const Case& c : cases) {
        RGBTriple t = c.in;
        const std::int16_t amount = c.amount;
        EXPECT_EQ(AdjustContrast(t, amount), c.expected);
        EXPECT_EQ(t, c.expected);
    }
}

TEST(ColourHelpers, AdjustContrastSaturatesSumsBeyondSixteenBits) {
    RGBTriple t{127, 127, 127};
    EXPECT_EQ(AdjustContrast(t, 32767), (RGBTriple{32767, 32767, 32767}));
    RGBTriple bright{200, 200, 200};
    EXPECT_EQ(AdjustContrast(bright, -32768), (RGBTriple{255, 255, 255}));
}

}  // namespace
}  // namespace tess::fx
