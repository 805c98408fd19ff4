#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "platform/testing/AddressSpaceLimit.h"

namespace tess::fx {
namespace {

// Draws one pixel into the scratch picture and says how big the scratch picture was.
int scratchWidthSeen = -1;
EffectOutput dotIntoScratch(EffectContext& context) {
    scratchWidthSeen = context.scratch.width();
    context.scratch.setPixel(1, 0, 0x123456);
    return EffectOutput::Scratch;
}

EffectOutput dotInPlace(EffectContext& context) {
    scratchWidthSeen = context.scratch.width();
    context.picture.setPixel(0, 0, 0x654321);
    return EffectOutput::Picture;
}

TEST(EffectRun, UndrawnScratchPixelsShowTheScratchBackground) {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random;
    const Picture working(3, 2, 0x00FF00);
    struct Case {
        Colour back;
        Colour shown;
    };
    // The fixed classic colours: window white, button face light grey.
    for (const Case& c : {Case{kMainScratchBack, 0xFFFFFF}, Case{kPreviewScratchBack, 0xC0C0C0}}) {
        Result<Picture> result =
            applyEffect(EffectStyle::Scratch, dotIntoScratch, working, c.back, random, clock);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(scratchWidthSeen, 3);
        Picture expected(3, 2, c.shown);
        expected.setPixel(1, 0, 0x123456);
        EXPECT_EQ(*result, expected);
    }
}

TEST(EffectRun, InPlaceWorksOnACopyWithoutAScratchPicture) {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random;
    const Picture working(2, 2, 0x00FF00);
    Result<Picture> result =
        applyEffect(EffectStyle::InPlace, dotInPlace, working, kMainScratchBack, random, clock);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(scratchWidthSeen, 0);
    EXPECT_EQ(result->pixel(0, 0), 0x654321);
    EXPECT_EQ(result->pixel(1, 1), 0x00FF00);
    EXPECT_EQ(working.pixel(0, 0), 0x00FF00);
}

TEST(EffectRun, WithoutMemoryForItsPicturesARunIsRefusedBeforeAnyPixelWork) {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random;
    // 64 MiB a picture: more than the room left below, and always mapped on its own.
    const Picture working(4096, 4096, 0x00FF00);
    for (EffectStyle style : {EffectStyle::InPlace, EffectStyle::Scratch, EffectStyle::Mixed}) {
        SCOPED_TRACE(static_cast<int>(style));
        scratchWidthSeen = -1;
        {
            tess::testing::AddressSpaceLimit limit(std::size_t{16} << 20);
            if (!limit.active())
                GTEST_SKIP() << "the address space cannot be limited here";
            const Result<Picture> refused =
                applyEffect(style, dotInPlace, working, kMainScratchBack, random, clock);
            ASSERT_FALSE(refused.ok());
            EXPECT_EQ(refused.error().code, errc::OutOfMemory);
        }
        EXPECT_EQ(scratchWidthSeen, -1) << "the effect ran without its pictures";
        // With the memory back the same run goes through.
        Result<Picture> result =
            applyEffect(style, dotInPlace, working, kMainScratchBack, random, clock);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->pixel(0, 0), 0x654321);
    }
}

}  // namespace
}  // namespace tess::fx
