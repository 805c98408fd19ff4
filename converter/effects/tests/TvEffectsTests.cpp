#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/TvEffects.h"

namespace tess::fx {
namespace {

using testing::colourOf;
using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::pictureOf;
using testing::PixelMap;
using testing::Rgb;
using testing::rgbOf;

// The largest float below 1/3 and the float nearest 1/3 (just above it): Int(r x 3) is 0 and 1.
const float kBelowThird = std::nextafter(1.0f / 3.0f, 0.0f);
const float kLargestBelowOne = std::nextafter(1.0f, 0.0f);

TEST(Tv, EachRowBoostsTheChannelOfItsNumber) {
    const struct {
        float r;
        Rgb in;
        Rgb out;
    } cases[] = {
        {0.0f, {250, 100, 0}, {255, 100, 0}},         {kBelowThird, {0, 0, 0}, {40, 0, 0}},
        {1.0f / 3.0f, {0, 0, 0}, {0, 40, 0}},         {0.5f, {214, 215, 0}, {214, 255, 0}},
        {2.0f / 3.0f, {250, 100, 0}, {250, 100, 40}}, {kLargestBelowOne, {0, 0, 215}, {0, 0, 255}},
        {kLargestBelowOne, {0, 0, 214}, {0, 0, 254}}, {0.1f, {255, 255, 255}, {255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.r);
        EffectRunner runner;
        runner.random.setValues({c.r});
        EXPECT_EQ(runner.applyToPixel("TV", c.in), c.out);
        EXPECT_EQ(runner.random.history(), "rn");
    }
}

TEST(Tv, ReseedsThenDrawsOneNumberPerRowInRowOrder) {
    const Legend legend{{'k', 0x000000}, {'r', 0x000028}, {'g', 0x002800}, {'b', 0x280000}};
    EffectRunner runner;
    runner.random.setValues({0.9f, 0.0f, 0.5f});
    EXPECT_EQ(mapOf(runner.apply(entryNamed("TV"), Picture(3, 3, 0)), legend),
              (PixelMap{"bbb", "rrr", "ggg"}));
    EXPECT_EQ(runner.random.history(), "rnnn");

    runner.random.setValues({0.9f, 0.0f, 0.5f});
    EXPECT_EQ(mapOf(runner.preview(entryNamed("TV"), Picture(3, 3, 0)), legend),
              (PixelMap{"bbb", "rrr", "ggg"}));

    // A row without columns still draws its number; no row draws none.
    EffectRunner empty;
    empty.apply(entryNamed("TV"), Picture(0, 4, 0));
    EXPECT_EQ(empty.random.history(), "rnnnn");
    EffectRunner flat;
    flat.apply(entryNamed("TV"), Picture(4, 0, 0));
    EXPECT_EQ(flat.random.history(), "r");
}

// Numbers that place each pixel of a W x H picture, in row order, onto (x, y) of `targets`.
std::vector<float> throwsTo(const std::vector<std::pair<int, int>>& targets, int width,
                            int height) {
    std::vector<float> values;
    for (const auto& [x, y] : targets) {
        values.push_back((static_cast<float>(x) + 0.5f) / static_cast<float>(width));
        values.push_back((static_cast<float>(y) + 0.5f) / static_cast<float>(height));
    }
    return values;
}

// Two numbers per pixel, column number first, the place Int(u x W), Int(v x H); the last pixel
// thrown onto a place shows there, and places that get none keep the scratch colour.
TEST(TvSnow, ColourThrowsEveryPixelToItsPlace) {
    const Legend legend{{'a', 0x0000A0}, {'b', 0x00B000}, {'c', 0xC00000},
                        {'d', 0xD0D0D0}, {'.', 0xFFFFFF}, {'p', 0xC0C0C0}};
    const Picture source = pictureOf({"ab", "cd"}, legend);
    // a to (0, 0); b to (1, 0) at exactly u = 0.5; c to (1, 0) with the largest u below 1,
    // covering b; d to (0, 1) with u just below 0.5.
    const std::vector<float> numbers{
        0.0f, 0.0f, 0.5f, 0.0f, kLargestBelowOne, 0.25f, std::nextafter(0.5f, 0.0f), 0.5f};
    EffectRunner runner;
    runner.random.setValues(numbers);
    EXPECT_EQ(mapOf(runner.apply(entryNamed("TV Snow (Color)"), source), legend),
              (PixelMap{"ac", "d."}));
    EXPECT_EQ(runner.random.history(), "nnnnnnnn");  // not reseeded

    runner.random.setValues(numbers);
    EXPECT_EQ(mapOf(runner.preview(entryNamed("TV Snow (Color)"), source), legend),
              (PixelMap{"ac", "dp"}));
}

TEST(TvSnow, OnePixelLandsOnItself) {
    EffectRunner runner;
    runner.random.setValues({kLargestBelowOne});
    EXPECT_EQ(runner.applyToPixel("TV Snow (Color)", {1, 2, 3}), (Rgb{1, 2, 3}));
    EXPECT_EQ(runner.applyToPixel("TV Snow", {1, 2, 3}), (Rgb{0, 0, 0}));
}

// The pattern thrown by TV Snow: black above the row of H / 2, white from it down, every even
// row black. Thrown onto itself it shows as drawn. For 7 rows H / 2 = 3.5 falls on row 4 (halves
// to even), so row 3 is still black.
TEST(TvSnow, BlackAndWhitePatternThenReseedThenThrow) {
    const Legend legend{{'#', 0x000000}, {'_', 0xFFFFFF}, {'x', 0x123456}};
    const struct {
        PixelMap source;
        PixelMap expected;
    } cases[] = {
        {{"xx", "xx", "xx", "xx"}, {"##", "##", "##", "__"}},
        {{"x", "x", "x", "x", "x", "x", "x"}, {"#", "#", "#", "#", "#", "_", "#"}},
        {{"x", "x", "x", "x", "x"}, {"#", "#", "#", "_", "#"}},
        {{"xxx"}, {"###"}},
    };
    for (const auto& c : cases) {
        const int width = static_cast<int>(c.source[0].size());
        const int height = static_cast<int>(c.source.size());
        SCOPED_TRACE(height);
        std::vector<std::pair<int, int>> places;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                places.emplace_back(x, y);
        }
        EffectRunner runner;
        runner.random.setValues(throwsTo(places, width, height));
        EXPECT_EQ(mapOf(runner.apply(entryNamed("TV Snow"), pictureOf(c.source, legend)), legend),
                  c.expected);
        EXPECT_EQ(runner.random.history(), "r" + std::string(2 * places.size(), 'n'));
    }
}

TEST(TvSnow, NoPlaceFallsOutsideWhateverTheNumbers) {
    for (const char* effect : {"TV Snow", "TV Snow (Color)"}) {
        for (float r : {0.0f, 0.5f, kLargestBelowOne}) {
            SCOPED_TRACE(std::string(effect) + " " + std::to_string(r));
            EffectRunner runner;
            runner.random.setValues({r});
            const Picture result = runner.apply(entryNamed(effect), Picture(7, 3, 0x000007));
            EXPECT_EQ(result.width(), 7);
            EXPECT_EQ(result.height(), 3);
            const int x = static_cast<int>(std::floor(static_cast<double>(r) * 7));
            const int y = static_cast<int>(std::floor(static_cast<double>(r) * 3));
            EXPECT_NE(result.pixel(x, y), 0xFFFFFF);  // everything landed on this one place
        }
    }
}

}  // namespace
}  // namespace tess::fx
