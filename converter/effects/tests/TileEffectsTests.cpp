#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/TileEffects.h"

namespace tess::fx {
namespace {

using testing::colourOf;
using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::PixelMap;
using testing::Rgb;
using testing::rgbOf;

constexpr Colour kMainBack = 0xFFFFFF;     // the window colour of the fixed scheme
constexpr Colour kPreviewBack = 0xC0C0C0;  // its button-face colour

// Every pixel one colour Q but the first cell's sample (0, 0), which is P. So the first tile is
// drawn from P and every later one from Q, and a map shows which cell's drawing won each pixel.
Picture sampledFixture(int size, Rgb p, Rgb q) {
    Picture picture = testing::filled(size, size, q);
    picture.setPixel(0, 0, colourOf(p));
    return picture;
}

TEST(FlatTiles, LayOutFacesAndGroutCellByCell) {
    const Rgb p{200, 100, 5};
    const Rgb q{21, 20, 10};
    const struct {
        const char* effect;
        int size;
        Rgb groutP;
        Rgb groutQ;
        PixelMap expected;  // F face of P, G grout of P, g grout of Q, . scratch colour
    } cases[] = {
        // Cell 8: a one-pixel grout line on the left and top, two on the right and bottom, and a
        // lane of the scratch colour at column and row 7; the next cells start at 8.
        {"Bathroom Tiles",
         9,
         {190, 90, 5},
         {11, 10, 10},
         {"GGGGGGG.g", "GFFFFGG.g", "GFFFFGG.g", "GFFFFGG.g", "GFFFFGG.g", "GGGGGGG.g", "GGGGGGG.g",
          ".........", "ggggggg.g"}},
        // The outer box reaches the next cells' first column and row, which they cover with
        // their own grout. A darkening of 20: 21 loses it, 20 and 10 keep their value.
        {"Mosaic Tiles",
         9,
         {180, 80, 5},
         {1, 20, 10},
         {"GGGGGGGGg", "GFFFFFFGg", "GFFFFFFGg", "GFFFFFFGg", "GFFFFFFGg", "GFFFFFFGg", "GFFFFFFGg",
          "GGGGGGGGg", "ggggggggg"}},
        {"Pool Tiles",
         7,
         {190, 90, 5},
         {11, 10, 10},
         {"GGGGGGg", "GFFFFGg", "GFFFFGg", "GFFFFGg", "GFFFFGg", "GGGGGGg", "ggggggg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        const Legend legend{{'F', colourOf(p)},
                            {'G', colourOf(c.groutP)},
                            {'g', colourOf(c.groutQ)},
                            {'.', kMainBack}};
        EffectRunner runner;
        const Picture source = sampledFixture(c.size, p, q);
        EXPECT_EQ(mapOf(runner.apply(entryNamed(c.effect), source), legend), c.expected);

        // The preview is the same drawing; what it leaves undrawn is the button-face colour.
        Legend previewLegend = legend;
        previewLegend['.'] = kPreviewBack;
        EXPECT_EQ(mapOf(runner.preview(entryNamed(c.effect), source), previewLegend), c.expected);
    }
}

TEST(FlatTiles, OnePixelTakesItsOwnGroutAndTwoRunsDarkenTwice) {
    EffectRunner runner;
    for (const char* effect : {"Bathroom Tiles", "Mosaic Tiles", "Pool Tiles"}) {
        SCOPED_TRACE(effect);
        const bool mosaic = std::string(effect) == "Mosaic Tiles";
        EXPECT_EQ(runner.applyToPixel(effect, {200, 100, 5}),
                  (mosaic ? Rgb{180, 80, 5} : Rgb{190, 90, 5}));

        // The second run samples the first run's grout: its faces take that colour and its grout
        // is darkened once more.
        const Picture once = runner.apply(entryNamed(effect), testing::filled(8, 8, {200, 0, 0}));
        const Picture twice = runner.apply(entryNamed(effect), once);
        EXPECT_EQ(rgbOf(twice.pixel(1, 1)), (mosaic ? Rgb{180, 0, 0} : Rgb{190, 0, 0}));
        EXPECT_EQ(rgbOf(twice.pixel(0, 0)), (mosaic ? Rgb{160, 0, 0} : Rgb{180, 0, 0}));
    }
}

// Light: a component below 235 doubled, at most 255; 235 and above unchanged. Face: four thirds,
// rounded down, at most 255 (the same as x + (x - 0.5) / 3 rounded half to even: 2 gives 2 where
// the half would round up to 3 under half-up rounding).
TEST(Tiles3D, ShadesOfTheSample) {
    const struct {
        Rgb sample;
        Rgb light;
        Rgb face;
    } cases[] = {
        {{255, 255, 255}, {255, 255, 255}, {255, 255, 255}},
        {{234, 235, 128}, {255, 235, 255}, {255, 255, 170}},
        {{20, 21, 0}, {40, 42, 0}, {26, 28, 0}},
        {{2, 3, 5}, {4, 6, 10}, {2, 4, 6}},
        {{191, 192, 127}, {255, 255, 254}, {254, 255, 169}},
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::colourOf(c.sample));
        const Picture result =
            runner.apply(entryNamed("3D Tiles"), testing::filled(8, 8, c.sample));
        EXPECT_EQ(rgbOf(result.pixel(0, 0)), c.light);
        EXPECT_EQ(rgbOf(result.pixel(0, 7)), c.light);
        EXPECT_EQ(rgbOf(result.pixel(7, 0)), c.light);
        EXPECT_EQ(rgbOf(result.pixel(1, 1)), c.face);
        EXPECT_EQ(rgbOf(result.pixel(6, 6)), c.face);
        EXPECT_EQ(result.pixel(7, 1), kMainBack);
        EXPECT_EQ(result.pixel(1, 7), kMainBack);
        EXPECT_EQ(result.pixel(7, 7), kMainBack);
    }
}

TEST(Tiles3D, TilesMeetWithoutOverlapAndSeamsKeepTheScratchColour) {
    const Rgb red{200, 0, 0};
    const Rgb blue{0, 0, 200};
    Picture source = testing::filled(9, 9, blue);
    source.setPixel(0, 0, colourOf(red));
    const Legend legend{{'L', colourOf({255, 0, 0})},  // light and face of red are both (255, 0, 0)
                        {'l', colourOf({0, 0, 255})},  // light of blue
                        {'.', kMainBack}};
    const PixelMap expected{"LLLLLLLLl", "LLLLLLL.l", "LLLLLLL.l", "LLLLLLL.l", "LLLLLLL.l",
                            "LLLLLLL.l", "LLLLLLL.l", "L.......l", "lllllllll"};
    EffectRunner runner;
    EXPECT_EQ(mapOf(runner.apply(entryNamed("3D Tiles"), source), legend), expected);
    Legend previewLegend = legend;
    previewLegend['.'] = kPreviewBack;
    EXPECT_EQ(mapOf(runner.preview(entryNamed("3D Tiles"), source), previewLegend), expected);
}

TEST(Tiles3D, NarrowPictureClipsTheFace) {
    EffectRunner runner;
    const Picture result =
        runner.apply(entryNamed("3D Tiles"), testing::filled(5, 3, {30, 60, 90}));
    const Legend legend{{'L', colourOf({60, 120, 180})}, {'F', colourOf({40, 80, 120})}};
    EXPECT_EQ(mapOf(result, legend), (PixelMap{"LLLLL", "LFFFF", "LFFFF"}));
}

}  // namespace
}  // namespace tess::fx
