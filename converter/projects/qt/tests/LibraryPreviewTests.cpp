#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <string>

#include "platform/Bmp.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/GifFixture.h"
#include "projects/qt/LibraryPreview.h"

namespace tess {
namespace {

std::string jpegOf(const Picture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(toQImage(picture).save(&buffer, "JPEG", 95));
    return bytes.toStdString();
}

// The JPEG of the picture with its frame header stating `side` x `side`: its scan is far short.
std::string statingMore(const Picture& picture, int side) {
    std::string jpeg = jpegOf(picture);
    const std::size_t frame = jpeg.find("\xFF\xC0");
    EXPECT_NE(frame, std::string::npos);
    for (const std::size_t at : {frame + 5, frame + 7}) {
        jpeg[at] = static_cast<char>(side >> 8);
        jpeg[at + 1] = static_cast<char>(side & 0xFF);
    }
    return jpeg;
}

std::string reasonOf(const Result<Picture>& r) {
    return r.ok() ? "<decoded>" : r.error().reason;
}

// Within the budget a preview is the loader's picture; beyond it a JPEG comes at the largest of
// its decoder's scalings that fits, anything else is refused; what the loader refuses, it refuses.
TEST(LibraryPreview, ThePicturesBudgetDecidesHowItIsDecoded) {
    const std::string jpeg = jpegOf(Picture(1000, 600, 0x2080C0));
    const std::string gif = testing::gifFixture(2, 2, {0, 1, 2, 3});
    const std::string bmp = encodeBmp24(Picture(300, 200, 0x00FF00));
    const struct {
        const char* name;
        std::string bytes;
        std::int64_t budget;
        int width, height;  // 0: refused, for the reason the loader gives when `asLoader`
        bool asLoader;
    } cases[] = {
        {"JPEG within", jpeg, 600'000, 1000, 600, true},
        {"JPEG at a half", jpeg, 150'000, 500, 300, false},
        {"JPEG at a quarter", jpeg, 149'999, 250, 150, false},
        {"JPEG at an eighth at the least", jpeg, 100, 125, 75, false},
        {"GIF within", gif, 4, 2, 2, true},
        {"GIF beyond", gif, 3, 0, 0, false},
        {"BMP beyond", bmp, 1000, 0, 0, false},
        {"cut JPEG", jpeg.substr(0, jpeg.size() / 2), 100, 0, 0, true},
        {"JPEG stating more than its scan", statingMore(Picture(16, 16, 0x2080C0), 4096), 100, 0, 0,
         false},
        {"no picture", "not a picture", 100, 0, 0, true},
    };
    for (const auto& c : cases) {
        const Result<Picture> preview = decodeLibraryPreview(c.bytes, 0xFFFFFF, c.budget);
        const Result<Picture> loaded = decodePicture(c.bytes, 0xFFFFFF);
        if (c.width == 0) {
            ASSERT_FALSE(preview.ok()) << c.name;
            const std::string reason = c.asLoader ? reasonOf(loaded)
                                       : c.bytes.substr(0, 2) == "\xFF\xD8"
                                           ? "the JPEG data is damaged"
                                           : "the picture is too large to be shown as a thumbnail";
            EXPECT_EQ(reasonOf(preview), reason) << c.name;
            continue;
        }
        ASSERT_TRUE(preview.ok()) << c.name << ": " << reasonOf(preview);
        EXPECT_EQ(preview->width(), c.width) << c.name;
        EXPECT_EQ(preview->height(), c.height) << c.name;
        if (c.asLoader) {
            EXPECT_EQ(*preview, *loaded) << c.name;
        }
        // A flat colour stays that colour at any scale, within the JPEG's rounding.
        const Colour centre = preview->pixel(c.width / 2, c.height / 2);
        EXPECT_NEAR(static_cast<int>(centre & 0xFF), static_cast<int>(loaded->pixel(0, 0) & 0xFF),
                    3)
            << c.name;
    }
}

}  // namespace
}  // namespace tess
