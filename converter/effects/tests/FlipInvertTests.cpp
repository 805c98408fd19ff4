#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "effects/FlipInvert.h"
#include "platform/Blit.h"

namespace tess::fx {
namespace {

using testing::Rgb;

Picture tool(EffectFunction function, const Picture& picture, Colour back = kMainScratchBack) {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random;
    Result<Picture> result =
        applyEffect(EffectStyle::Scratch, function, picture, back, random, clock);
    EXPECT_TRUE(result.ok());
    return result.ok() ? std::move(*result) : Picture();
}

TEST(FlipInvert, FlipsAreTheRasterMirrors) {
    // Up to the widest and the highest picture the picture layer makes.
    constexpr int kTop = Picture::kMaxSide;
    for (const auto& [w, h] :
         {std::pair{1, 1}, {1, 6}, {6, 1}, {7, 5}, {8, 4}, {0, 3}, {37, 3}, {kTop, 1}, {1, kTop}}) {
        const Picture picture = testing::gradient(w, h);
        Picture mirrorH(w, h, 0xFFFFFF);
        stretchBlt(mirrorH, w - 1, 0, -w, h, picture, 0, 0, w, h, RasterOp::SrcCopy);
        Picture mirrorV(w, h, 0xFFFFFF);
        stretchBlt(mirrorV, 0, h - 1, w, -h, picture, 0, 0, w, h, RasterOp::SrcCopy);
        EXPECT_EQ(tool(flipHorizontal, picture), mirrorH) << w << " x " << h;
        EXPECT_EQ(tool(flipVertical, picture), mirrorV) << w << " x " << h;
        if (w > 1 && h > 0) {
            EXPECT_EQ(tool(flipHorizontal, picture).pixel(w - 1, 0), picture.pixel(0, 0));
        }
        if (h > 1 && w > 0) {
            EXPECT_EQ(tool(flipVertical, picture).pixel(0, h - 1), picture.pixel(0, 0));
        }
    }
}

TEST(FlipInvert, EachToolTwiceGivesThePictureBack) {
    const Picture picture = testing::gradient(9, 6);
    for (EffectFunction function : {flipHorizontal, flipVertical, invertColours})
        EXPECT_EQ(tool(function, tool(function, picture)), picture);
}

TEST(FlipInvert, AMirrorOfOnePixelAcrossChangesNothing) {
    const Picture column = testing::gradient(1, 8);
    const Picture row = testing::gradient(8, 1);
    EXPECT_EQ(tool(flipHorizontal, column), column);
    EXPECT_EQ(tool(flipVertical, row), row);
}

TEST(FlipInvert, InvertIsTheExclusiveOrWithTheClearedScratchColour) {
    struct Case {
        Rgb in;
        Colour back;
        Rgb out;
    };
    const Case cases[] = {
        {{0, 0, 0}, kMainScratchBack, {255, 255, 255}},
        {{10, 200, 30}, kMainScratchBack, {245, 55, 225}},
        {{250, 100, 50}, kMainScratchBack, {5, 155, 205}},
        // Another background gives no plain negative: here the classic button face, 0xC0C0C0.
        {{250, 100, 50}, kPreviewScratchBack, {250 ^ 0xC0, 100 ^ 0xC0, 50 ^ 0xC0}},
        {{1, 2, 3}, 0x0000FF, {254, 2, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            testing::rgbOf(tool(invertColours, testing::filled(1, 1, c.in), c.back).pixel(0, 0)),
            c.out)
            << c.in;
    }
}

}  // namespace
}  // namespace tess::fx
