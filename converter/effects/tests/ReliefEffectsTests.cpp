#include <gtest/gtest.h>

#include <vector>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/ReliefEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::pictureOf;
using testing::PixelMap;
using testing::Rgb;
using testing::rgbOf;

Colour grey(int v) {
    return v * 0x010101;
}

std::vector<int> greysOfRow(const Picture& p, int y) {
    std::vector<int> values;
    for (int x = 0; x < p.width(); ++x)
        values.push_back(p.pixel(x, y) & 255);
    return values;
}

// One row of greys 10, 20, 31, 40, 50. Outer Emboss pairs columns 0..4 with 2, 3, 4, 4, 4 of the
// inverted copy: Int((s + 255 - t) / 2) = 117, 117 (from 117.5: the floor, not the even
// neighbour 118), 118, 122 (122.5), 127 (the last pixel with its own inverse).
TEST(Emboss, OuterPairsWithTheInverseTwoOnHeldAtTheLastColumn) {
    Picture source(5, 1);
    const int values[] = {10, 20, 31, 40, 50};
    for (int x = 0; x < 5; ++x)
        source.setPixel(x, 0, grey(values[x]));
    EffectRunner runner;
    EXPECT_EQ(greysOfRow(runner.apply(entryNamed("Outer Emboss"), source), 0),
              (std::vector<int>{117, 117, 118, 122, 127}));
}

// Inner Emboss on one row: the neighbour row 1 lies outside, so every pixel meets the invalid
// colour -1, split as red 255, green 0, blue 255.
TEST(Emboss, InnerOnOneRowMeetsTheInvalidColour) {
    Picture source(3, 1);
    source.setPixel(0, 0, grey(10));
    source.setPixel(1, 0, grey(31));
    source.setPixel(2, 0, 0x0000FF);
    EffectRunner runner;
    const Picture result = runner.apply(entryNamed("Inner Emboss"), source);
    EXPECT_EQ(rgbOf(result.pixel(0, 0)), (Rgb{132, 5, 132}));
    EXPECT_EQ(rgbOf(result.pixel(1, 0)), (Rgb{143, 15, 143}));
    EXPECT_EQ(rgbOf(result.pixel(2, 0)), (Rgb{255, 0, 127}));
}

// On 6 x 6 with the grey of (x, y) = 40x + 6y, each pixel meets the inverse of its neighbour:
// Inner reads column 1 for columns 0..3 and x - 2 after; Outer x + 2, held at column 5 from 3 on.
TEST(Emboss, NeighbourRulesOnBothAxes) {
    Picture source(6, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x)
            source.setPixel(x, y, grey(40 * x + 6 * y));
    }
    auto expected = [](int x, int y, int nx, int ny) {
        return (40 * x + 6 * y + 255 - (40 * nx + 6 * ny)) / 2;
    };
    const struct {
        const char* effect;
        int x, y, nx, ny;
    } cases[] = {
        {"Inner Emboss", 0, 0, 1, 1}, {"Inner Emboss", 3, 3, 1, 1}, {"Inner Emboss", 4, 0, 2, 1},
        {"Inner Emboss", 5, 5, 3, 3}, {"Outer Emboss", 0, 0, 2, 2}, {"Outer Emboss", 3, 2, 5, 4},
        {"Outer Emboss", 4, 5, 5, 5}, {"Outer Emboss", 5, 0, 5, 2},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.effect) + " " + std::to_string(c.x) + "," + std::to_string(c.y));
        const Picture result = runner.apply(entryNamed(c.effect), source);
        EXPECT_EQ(result.pixel(c.x, c.y), grey(expected(c.x, c.y, c.nx, c.ny)));
    }
}

// One colour becomes grey 127 against the white scratch colour. The preview combines with the
// button face 0xC0 instead: 127 meets 127 ^ 0xC0 = 191, giving 159.
TEST(Emboss, OneColourIsMiddleGreyAndThePreviewMeetsTheButtonFace) {
    EffectRunner runner;
    for (const char* effect : {"Inner Emboss", "Outer Emboss"}) {
        SCOPED_TRACE(effect);
        EXPECT_EQ(runner.apply(entryNamed(effect), Picture(4, 4, 0x4080C0)),
                  Picture(4, 4, grey(127)));
        EXPECT_EQ(runner.preview(entryNamed(effect), Picture(4, 4, grey(127))).pixel(3, 3),
                  grey(159));
    }
}

TEST(Outline, BlackWhereAPixelDiffersFromItsLeftOrUpperNeighbour) {
    const Legend legend{{'a', 0x406080}, {'b', 0x406081}, {'#', 0x000000}, {'_', 0xFFFFFF}};
    const struct {
        PixelMap source;
        PixelMap expected;
    } cases[] = {
        // One pixel of a colour one off in one component: it, its right and its lower
        // neighbour turn black.
        {{"aaaa", "abaa", "aaaa"}, {"____", "_##_", "_#__"}},
        // A vertical boundary between columns 1 and 2: column 2 black from row 1; row 0 white.
        {{"aabb", "aabb", "aabb"}, {"____", "__#_", "__#_"}},
        // The first row and column are white whatever they hold.
        {{"abab", "baba"}, {"____", "_###"}},
        {{"b"}, {"_"}},
        {{"aaa"}, {"___"}},
        {{"a", "b", "a"}, {"_", "_", "_"}},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source[0]);
        const Picture source = pictureOf(c.source, legend);
        EXPECT_EQ(mapOf(runner.apply(entryNamed("Outline"), source), legend), c.expected);
        // Every pixel is drawn, so the preview's scratch colour never shows.
        EXPECT_EQ(mapOf(runner.preview(entryNamed("Outline"), source), legend), c.expected);
    }
}

TEST(Infrared, GreyAtTheLevelLeftByBothPasses) {
    const struct {
        Rgb in;
        int grey;
    } cases[] = {
        {{255, 255, 255}, 0},  {{0, 0, 0}, 255},       {{100, 100, 100}, 155},
        {{255, 0, 0}, 255},    {{0, 255, 0}, 255},     {{0, 0, 255}, 255},
        {{100, 200, 50}, 205}, {{100, 150, 120}, 235}, {{200, 150, 120}, 135},
        {{10, 11, 255}, 254},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::colourOf(c.in));
        EXPECT_EQ(runner.applyToPixel("Infrared (Slow)", c.in), (Rgb{c.grey, c.grey, c.grey}));
    }
}

// Against the button face the exclusive-or only partly inverts: (255, 50, 20) after pass 1
// becomes (63, 242, 212), and the grey is its largest component.
TEST(Infrared, PreviewCombinesWithTheButtonFace) {
    EffectRunner runner;
    const Picture result =
        runner.preview(entryNamed("Infrared (Slow)"), testing::filled(2, 1, {100, 150, 120}));
    EXPECT_EQ(rgbOf(result.pixel(1, 0)), (Rgb{242, 242, 242}));
}

}  // namespace
}  // namespace tess::fx
