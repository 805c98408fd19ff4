#include <gtest/gtest.h>

#include <utility>

#include "EffectsTestSupport.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;

// The effects that sample grids, draw shapes, shift columns or throw pixels: each must take any
// shape of picture, reading and drawing nothing outside it, and hand back a picture of the same
// size, on the whole picture and on the preview alike.
const char* const kEffects[] = {
    "3D Tiles",       "Bathroom Tiles",
    "Mosaic Tiles",   "Pool Tiles",
    "Blur",           "Boxes",
    "Mosaic",         "Pixelate",
    "Interlace",      "Visor",
    "Corruption",     "Corruption Bars",
    "Eyes",           "Targets",
    "X-Files",        "CircleWorm",
    "Circular",       "Spiral",
    "InversionScape", "Night Cam",
    "StereoGraph",    "TV",
    "TV Snow",        "TV Snow (Color)",
    "Inner Emboss",   "Outer Emboss",
    "Outline",        "Infrared (Slow)",
};

TEST(PatternEffects, EveryShapeOfPictureKeepsItsSize) {
    // The last two are the widest and the highest picture the picture layer makes.
    constexpr int kTop = Picture::kMaxSide;
    const std::pair<int, int> shapes[] = {{0, 0}, {0, 5}, {5, 0}, {1, 1},    {1, 9},
                                          {9, 1}, {2, 2}, {3, 3}, {kTop, 1}, {1, kTop}};
    for (const char* name : kEffects) {
        const EffectEntry& entry = entryNamed(name);
        ASSERT_NE(entry.apply, nullptr) << name;
        ASSERT_NE(entry.preview, nullptr) << name;
        for (const auto& [w, h] : shapes) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(w) + " x " + std::to_string(h));
            EffectRunner runner;
            runner.random.setValues({0.0f, 0.999f, 0.5f});
            const Picture picture = testing::gradient(w, h);
            const Picture applied = runner.apply(entry, picture);
            EXPECT_EQ(applied.width(), w);
            EXPECT_EQ(applied.height(), h);
            const Picture previewed = runner.preview(entry, picture);
            EXPECT_EQ(previewed.width(), w);
            EXPECT_EQ(previewed.height(), h);
        }
    }
}

// A picture without area: the scratch-drawn effects give the cleared scratch picture, i.e. the
// empty picture, and nothing draws a random number but TV, one per row.
TEST(PatternEffects, NoAreaDrawsNothing) {
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        EffectRunner runner;
        runner.apply(entryNamed(name), Picture(0, 0));
        EXPECT_EQ(runner.random.drawCount(), 0);
    }
}

}  // namespace
}  // namespace tess::fx
