#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "effects/Thumbnail.h"

namespace tess::fx {
namespace {

using testing::Rgb;

constexpr Colour kBack = 0xC0C0C0;

Picture cropOf(const Picture& picture, int width, int height) {
    Picture crop(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            crop.setPixel(x, y, picture.pixel(x, y));
    }
    return crop;
}

TEST(Thumbnail, APictureOfOneMoreColumnAndRowGivesItsCorner) {
    const Picture picture = testing::gradient(121, 101);
    const Picture thumbnail = makeThumbnail(picture, kBack);
    EXPECT_EQ(thumbnail, cropOf(picture, 120, 100));
}

TEST(Thumbnail, OneColourStaysThatColourAtAnySize) {
    const Rgb colour{200, 17, 99};
    for (const auto& [w, h] :
         {std::pair{1, 1}, {2, 2}, {1, 50}, {50, 1}, {7, 3}, {1200, 100}, {120, 100}, {500, 700}}) {
        const Picture thumbnail = makeThumbnail(testing::filled(w, h, colour), kBack);
        EXPECT_EQ(thumbnail, testing::filled(120, 100, colour)) << w << " x " << h;
    }
}

TEST(Thumbnail, APictureWithNoAreaGivesTheBackground) {
    for (const auto& [w, h] : {std::pair{0, 0}, {0, 40}, {40, 0}})
        EXPECT_EQ(makeThumbnail(Picture(w, h), kBack), Picture(120, 100, kBack)) << w << " x " << h;
}

TEST(Thumbnail, RoundsDownTheColumnsFirstAndThenAcross) {
    // 61 x 51 pixels sample at halves: target (1, 1) lies midway between the top-left four.
    Picture picture(61, 51, 0);
    picture.setPixel(0, 0, rgb(1, 0, 0));
    picture.setPixel(0, 1, rgb(2, 0, 0));
    picture.setPixel(1, 0, rgb(3, 0, 0));
    picture.setPixel(1, 1, rgb(4, 0, 0));
    const Picture thumbnail = makeThumbnail(picture, kBack);
    // Down the columns: 1.5 -> 2 and 3.5 -> 4; across: 3. One rounding of the mean would give 2.
    EXPECT_EQ(thumbnail.pixel(1, 1), rgb(3, 0, 0));
    // Halves go to the even neighbour: 1.5 -> 2 down the first column, 2 across the first row.
    EXPECT_EQ(thumbnail.pixel(0, 1), rgb(2, 0, 0));
    EXPECT_EQ(thumbnail.pixel(1, 0), rgb(2, 0, 0));
    EXPECT_EQ(thumbnail.pixel(0, 0), rgb(1, 0, 0));
}

TEST(Thumbnail, ATinyPictureIsEnlargedAsASmoothBlend) {
    // Left column black, right column red 240: across each row red climbs from 0 towards 240.
    Picture picture(2, 2, 0);
    picture.setPixel(1, 0, rgb(240, 0, 0));
    picture.setPixel(1, 1, rgb(240, 0, 0));
    const Picture thumbnail = makeThumbnail(picture, kBack);
    for (int y = 0; y < 100; ++y) {
        int previous = -1;
        for (int x = 0; x < 120; ++x) {
            const Rgb c = testing::rgbOf(thumbnail.pixel(x, y));
            EXPECT_EQ(c.g, 0);
            EXPECT_EQ(c.b, 0);
            EXPECT_GE(c.r, previous);
            EXPECT_NEAR(c.r, 2 * x, 1) << x;
            previous = c.r;
        }
    }
}

TEST(Thumbnail, AWidePictureIsSqueezedWithoutKeepingItsProportions) {
    Picture picture(1200, 100, 0);
    for (int y = 0; y < 100; ++y)
        picture.setPixel(1199, y, 0xFFFFFF);  // only the last column is white
    const Picture thumbnail = makeThumbnail(picture, kBack);
    EXPECT_EQ(thumbnail.width(), 120);
    EXPECT_EQ(thumbnail.height(), 100);
    // The last target column samples at 119 x 1199 / 120 = 1189.0083, short of the white column.
    EXPECT_EQ(thumbnail.pixel(119, 50), 0);
}

}  // namespace
}  // namespace tess::fx
