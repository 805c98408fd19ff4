#include <gtest/gtest.h>

#include "EffectsTestSupport.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Rgb;

TEST(ChannelEffects, MapOnePixel) {
    struct Case {
        const char* effect;
        Rgb in;
        Rgb out;
    };
    const Case cases[] = {
        {"RGB Blue", {250, 100, 50}, {250, 100, 255}},
        {"RGB Blue", {0, 0, 0}, {0, 0, 255}},
        {"RGB Blue", {255, 255, 255}, {255, 255, 255}},
        {"RGB Blue", {255, 128, 0}, {255, 128, 255}},
        {"RGB Green", {10, 20, 30}, {10, 255, 30}},
        {"RGB Red", {10, 20, 30}, {255, 20, 30}},
        {"Neon", {250, 100, 50}, {100, 50, 250}},
        {"Neon", {255, 0, 0}, {0, 0, 255}},
        {"Neon", {0, 255, 0}, {255, 0, 0}},
        {"Neon", {0, 0, 255}, {0, 255, 0}},
        {"Neon", {0x56, 0x34, 0x12}, {0x34, 0x12, 0x56}},
        {"Neon", {128, 128, 128}, {128, 128, 128}},
        {"Neon", {255, 255, 255}, {255, 255, 255}},
    };
    EffectRunner runner;
    for (const Case& c : cases) {
        EXPECT_EQ(runner.applyToPixel(c.effect, c.in), c.out) << c.effect << " of " << c.in;
    }
}

TEST(ChannelEffects, TheThreeChannelsTogetherGiveWhite) {
    EffectRunner runner;
    Picture picture = testing::gradient(31, 7);
    for (const char* name : {"RGB Red", "RGB Green", "RGB Blue"})
        picture = runner.apply(entryNamed(name), picture);
    EXPECT_EQ(picture, Picture(31, 7, 0xFFFFFF));
}

TEST(ChannelEffects, ApplyingAChannelTwiceIsApplyingItOnce) {
    EffectRunner runner;
    const Picture picture = testing::gradient(13, 11);
    for (const char* name : {"RGB Red", "RGB Green", "RGB Blue"}) {
        const Picture once = runner.apply(entryNamed(name), picture);
        EXPECT_EQ(runner.apply(entryNamed(name), once), once) << name;
    }
}

TEST(ChannelEffects, NeonReseedsOnceAndDrawsNothing) {
    EffectRunner runner;
    runner.clock.setTickCount(4242);
    (void)runner.apply(entryNamed("Neon"), testing::gradient(5, 5));
    EXPECT_EQ(runner.random.history(), "r");
    EXPECT_EQ(runner.random.reseeds(), std::vector<std::uint64_t>{4242});
    (void)runner.preview(entryNamed("Neon"), testing::gradient(5, 5));
    EXPECT_EQ(runner.random.history(), "rr");
}

TEST(ChannelEffects, PreviewsAreTheSameRecipe) {
    EffectRunner runner;
    const Picture thumbnail = testing::gradient(120, 100);
    for (const char* name : {"RGB Red", "RGB Green", "RGB Blue", "Neon"}) {
        const EffectEntry& entry = entryNamed(name);
        EXPECT_EQ(runner.preview(entry, thumbnail), runner.apply(entry, thumbnail)) << name;
    }
}

}  // namespace
}  // namespace tess::fx
