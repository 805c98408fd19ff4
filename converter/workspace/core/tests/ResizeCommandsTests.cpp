#include <gtest/gtest.h>

#include "platform/Blit.h"
#include "platform/Colour.h"
#include "platform/Picture.h"
#include "workspace/Resample.h"
#include "workspace/ResizeCommands.h"

namespace tess {
namespace {

Picture gradient(int width, int height) {
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            p.setPixel(x, y, rgb(x * 7 % 256, y * 5 % 256, (x + y) % 256));
    }
    return p;
}

TEST(ResizeSizes, HalfAndDoubleOfEachSide) {
    struct Case {
        int w, h;
        std::optional<PictureSize> half, twice;
    };
    const Case cases[] = {
        {321, 241, PictureSize{160, 120}, PictureSize{642, 482}},
        {2, 2, PictureSize{1, 1}, PictureSize{4, 4}},
        // A side of 1 would halve to 0: there is no half size.
        {1, 5, std::nullopt, PictureSize{2, 10}},
        {5, 1, std::nullopt, PictureSize{10, 2}},
        {0, 0, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const Picture p(c.w, c.h);
        EXPECT_EQ(halfSize(p), c.half) << c.w << "x" << c.h;
        EXPECT_EQ(doubleSize(p), c.twice) << c.w << "x" << c.h;
    }
}

TEST(ResizedPicture, EachDrawingAtTheNewSize) {
    const Picture source = gradient(321, 241);
    for (const PictureSize size : {PictureSize{160, 120}, PictureSize{642, 482}}) {
        Picture stretched(size.width, size.height, 0x00FFFFFF);
        stretchBlt(stretched, 0, 0, size.width, size.height, source, 0, 0, 321, 241,
                   RasterOp::SrcCopy, StretchMode::BlackOnWhite);
        Picture resampled(size.width, size.height, 0x00FFFFFF);
        drawBilinear(source, resampled);
        Result<Picture> plain =
            resizedPicture(source, size, ResizeDrawing::Stretch, syscolour::Window);
        Result<Picture> smooth =
            resizedPicture(source, size, ResizeDrawing::Resample, syscolour::Window);
        ASSERT_TRUE(plain.ok() && smooth.ok());
        EXPECT_EQ(*plain, stretched) << size.width;
        EXPECT_EQ(*smooth, resampled) << size.width;
    }
    // A shrinking stretch in the default mode ANDs the dropped pixels into the kept ones.
    Picture pair(2, 1);
    pair.setPixel(0, 0, 0x00F0F0F0);
    pair.setPixel(1, 0, 0x000FFF0F);
    EXPECT_EQ(resizedPicture(pair, {1, 1}, ResizeDrawing::Stretch, 0)->pixel(0, 0), 0x0000F000);

    // The scratch picture's memory is written over; only a stretch of nothing shows its clearing.
    Picture target(642, 482, 0x00123456);
    ASSERT_TRUE(
        readyResizeTarget(source, {321, 241}, ResizeDrawing::Stretch, 0x00ABCDEF, target).ok());
    drawResizedInto(source, ResizeDrawing::Stretch, target);
    EXPECT_EQ(target, source);
    EXPECT_EQ(*resizedPicture(Picture(), {3, 2}, ResizeDrawing::Stretch, 0x00ABCDEF),
              Picture(3, 2, 0x00ABCDEF));
}

TEST(ResizedPicture, ATwinGetsTheSamePixelsInTheSamePass) {
    // Small and large enough to be drawn in bands, both drawings, and a source without pixels.
    const Picture small = gradient(37, 23);
    const Picture large = gradient(700, 500);
    const Picture none;
    struct Case {
        const Picture* source;
        PictureSize size;
    };
    for (const Case& c : {Case{&small, {74, 46}}, Case{&large, {1400, 1000}},
                          Case{&large, {350, 250}}, Case{&none, {5, 4}}}) {
        for (const ResizeDrawing drawing : {ResizeDrawing::Stretch, ResizeDrawing::Resample}) {
            Picture target;
            ASSERT_TRUE(readyResizeTarget(*c.source, c.size, drawing, 0x00ABCDEF, target).ok());
            Picture twin(c.size.width, c.size.height, 0x00123456);
            drawResizedInto(*c.source, drawing, target, &twin);
            const Result<Picture> expected = resizedPicture(*c.source, c.size, drawing, 0x00ABCDEF);
            ASSERT_TRUE(expected.ok());
            EXPECT_EQ(target, *expected) << c.size.width;
            EXPECT_EQ(twin, *expected) << c.size.width;
        }
    }
}

TEST(ResizedPicture, SizesThePictureLayerCannotHoldAreRefused) {
    const Picture source(4, 4);
    for (const PictureSize size :
         {PictureSize{32768, 1}, PictureSize{1, 40000}, PictureSize{20000, 20000}}) {
        for (const ResizeDrawing drawing : {ResizeDrawing::Stretch, ResizeDrawing::Resample})
            EXPECT_FALSE(resizedPicture(source, size, drawing, 0).ok()) << size.width;
    }
}

TEST(ResizeStatus, SizeWithoutTheIdleMark) {
    EXPECT_EQ(sizeStatusText(200, 100), "0x0 of 200x100");
}

}  // namespace
}  // namespace tess
