#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bmp.h"
#include "platform/SystemColours.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/LittleEndian.h"

namespace tess {
namespace {

using testing::put16;
using testing::put32;

Picture distinct(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.setPixel(x, y, rgb(37 * x + 1, 53 * y + 2, 11 * (x * y) + 3));
        }
    }
    return p;
}

// An 8-bit run-length coded BMP of two rows of two pixels: bottom row palette entry 0 (blue),
// top row entry 1 (yellow).
std::string rle8Bmp() {
    std::string palette;  // entries are stored blue, green, red, 0
    put32(palette, 0x000000FF);
    put32(palette, 0x00FFFF00);
    const std::string pixels("\x02\x00\x00\x00\x02\x01\x00\x01", 8);
    std::string out = "BM";
    const std::uint32_t offset = 14 + 40 + 8;
    put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, 2);
    put32(out, 2);
    put16(out, 1);
    put16(out, 8);
    put32(out, 1);  // run-length coded, 8 bits
    put32(out, static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, 2);
    put32(out, 0);
    return out + palette + pixels;
}

std::string qtEncoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

class PictureFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        SystemColours::resetToDefaults();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { SystemColours::resetToDefaults(); }

    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    std::string write(const char* name, const std::string& bytes) const {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path(name);
    }

    QTemporaryDir dir_;
};

TEST_F(PictureFiles, SavedBmpLoadsBackWithTheSamePixels) {
    const struct {
        int w;
        int h;
    } sizes[] = {{1, 1}, {2, 3}, {3, 2}, {5, 4}, {4, 1}, {7, 5}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
        const Picture original = distinct(s.w, s.h);
        const std::string file = path("round.bmp");
        ASSERT_TRUE(savePictureFileBmp(original, file).ok());
        // Rows of three bytes a pixel, padded to four bytes.
        EXPECT_EQ(QFile(QString::fromStdString(file)).size(), 54 + s.h * ((s.w * 3 + 3) / 4 * 4));
        const Result<Picture> loaded = loadPictureFile(file, 0);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(*loaded, original);
    }
}

TEST_F(PictureFiles, PicturesWithoutPixelsSurviveTheRoundTrip) {
    for (const Picture& empty : {Picture(), Picture(3, 0), Picture(0, 2)}) {
        const std::string file = path("empty.bmp");
        ASSERT_TRUE(savePictureFileBmp(empty, file).ok());
        const Result<Picture> loaded = loadPictureFile(file, 0);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(loaded->width(), empty.width());
        EXPECT_EQ(loaded->height(), empty.height());
    }
}

TEST_F(PictureFiles, FormatIsDecidedByContent) {
    const QImage image = toQImage(distinct(3, 2));

    // A .dib is a BMP.
    const Result<Picture> dib = loadPictureFile(write("a.dib", encodeBmp24(distinct(3, 2))), 0);
    ASSERT_TRUE(dib.ok()) << dib.error().reason;
    EXPECT_EQ(*dib, distinct(3, 2));

    // A JPEG named .bmp loads as the JPEG it is.
    const Result<Picture> jpeg = loadPictureFile(write("photo.bmp", qtEncoded(image, "jpeg")), 0);
    ASSERT_TRUE(jpeg.ok()) << jpeg.error().reason;
    EXPECT_EQ(jpeg->width(), 3);
    EXPECT_EQ(jpeg->height(), 2);

    // A PNG named .jpg, and other things that are not the four formats, are invalid pictures.
    const struct {
        const char* name;
        std::string bytes;
    } refused[] = {
        {"png.jpg", qtEncoded(image, "png")},
        {"tiff.bmp", qtEncoded(image, "tiff")},
        {"text.gif", "GIF? no, just some text\r\n"},
        {"empty.ico", ""},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        const Result<Picture> loaded = loadPictureFile(write(r.name, r.bytes), 0);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
        EXPECT_NE(loaded.error().reason.find(r.name), std::string::npos);
    }
}

TEST_F(PictureFiles, GifTransparencyShowsTheBackColour) {
    const std::string file = write("t.gif", testing::gifFixture(2, 2, {0, 1, 2, 3}, 1));
    const Result<Picture> onPlain = loadPictureFile(file, 0x123456);
    ASSERT_TRUE(onPlain.ok()) << onPlain.error().reason;
    EXPECT_EQ(onPlain->pixel(0, 0), 0x0000FF);  // red
    EXPECT_EQ(onPlain->pixel(1, 0), 0x123456);  // transparent
    EXPECT_EQ(onPlain->pixel(0, 1), 0xFF0000);  // blue
    EXPECT_EQ(onPlain->pixel(1, 1), 0xFFFFFF);

    SystemColours::set(15, 0x00AA55);
    const Result<Picture> onButtonFace = loadPictureFile(file, syscolour::ButtonFace);
    ASSERT_TRUE(onButtonFace.ok());
    EXPECT_EQ(onButtonFace->pixel(1, 0), 0x00AA55);

    const Result<Picture> opaque = decodePicture(testing::gifFixture(2, 1, {1, 2}, -1), 0x123456);
    ASSERT_TRUE(opaque.ok());
    EXPECT_EQ(opaque->pixel(0, 0), 0x00FF00);
}

TEST_F(PictureFiles, IconAlphaIsBlendedOntoTheBackColour) {
    QImage icon(3, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(10, 20, 30, 255));
    icon.setPixel(1, 0, qRgba(10, 20, 30, 0));
    icon.setPixel(2, 0, qRgba(255, 0, 100, 128));
    const Result<Picture> loaded =
        loadPictureFile(write("i.ico", qtEncoded(icon, "ico")), 0x000000);
    ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
    EXPECT_EQ(loaded->width(), 3);
    EXPECT_EQ(loaded->pixel(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(loaded->pixel(1, 0), 0x000000);
    EXPECT_EQ(loaded->pixel(2, 0), rgb(128, 0, 50));  // (c * 128 + 127) / 255
}

TEST_F(PictureFiles, DamagedBmpFilesAreRefused) {
    const std::string whole = encodeBmp24(distinct(5, 4));
    const struct {
        const char* name;
        std::string bytes;
    } cut[] = {
        {"last bytes missing", whole.substr(0, whole.size() - 1)},
        {"rows missing", whole.substr(0, whole.size() - 20)},
        {"headers only", whole.substr(0, 54)},
        {"inside the headers", whole.substr(0, 30)},
        {"run-length data without its end", rle8Bmp().substr(0, rle8Bmp().size() - 4)},
    };
    for (const auto& c : cut) {
        SCOPED_TRACE(c.name);
        const Result<Picture> loaded = decodePicture(c.bytes, 0);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
    }

    const Result<Picture> rle = decodePicture(rle8Bmp(), 0);
    ASSERT_TRUE(rle.ok()) << rle.error().reason;
    EXPECT_EQ(rle->pixel(0, 1), 0xFF0000);  // bottom row: blue
    EXPECT_EQ(rle->pixel(1, 0), 0x00FFFF);  // top row: yellow
}

TEST_F(PictureFiles, OversizedPicturesAreRefusedBeforeDecoding) {
    // Headers that claim more than a picture may hold, over a few bytes of pixels.
    std::string wide = encodeBmp24(distinct(2, 1));
    const std::uint32_t width = Picture::kMaxSide + 1;
    wide.replace(18, 4, std::string(reinterpret_cast<const char*>(&width), 4));

    std::string square = encodeBmp24(distinct(2, 1));
    const std::uint32_t side = 20000;  // under the side limit, over the pixel limit
    square.replace(18, 4, std::string(reinterpret_cast<const char*>(&side), 4));
    square.replace(22, 4, std::string(reinterpret_cast<const char*>(&side), 4));

    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"wide bmp", wide},
        {"huge bmp", square},
        // Cut after the image's header: only the size the reader reports can refuse it.
        {"tall gif", testing::gifFixture(1, 40000, {0, 1}, -1).substr(0, 6 + 7 + 12 + 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> loaded = decodePicture(c.bytes, 0);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::OutOfMemory);
        EXPECT_NE(loaded.error().reason.find("32767"), std::string::npos);
    }
}

TEST_F(PictureFiles, MissingFilesAndFoldersAreTold) {
    const Result<Picture> missing = loadPictureFile(path("nothing here.bmp"), 0);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, errc::FileNotFound);
    EXPECT_NE(missing.error().reason.find("nothing here.bmp"), std::string::npos);

    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.bmp"));
    const Result<Picture> folder = loadPictureFile(path("folder.bmp"), 0);
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().code, errc::InvalidPicture);

    EXPECT_FALSE(savePictureFileBmp(distinct(1, 1), path("no such folder/x.bmp")).ok());
}

TEST(QtPicture, ConvertsBothWays) {
    const Picture original = distinct(4, 3);
    const QImage image = toQImage(original);
    ASSERT_EQ(image.width(), 4);
    EXPECT_EQ(image.pixel(1, 2), qRgb(redOf(original.pixel(1, 2)), greenOf(original.pixel(1, 2)),
                                      blueOf(original.pixel(1, 2))));
    EXPECT_FALSE(image.hasAlphaChannel());
    EXPECT_EQ(fromQImage(image, 0), original);

    EXPECT_TRUE(toQImage(Picture()).isNull());
    EXPECT_TRUE(fromQImage(QImage(), 0).empty());

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgba(0, 0, 0, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    const Picture fromIndexed = fromQImage(indexed, 0x445566);
    EXPECT_EQ(fromIndexed.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(fromIndexed.pixel(1, 0), 0x445566);
}

}  // namespace
}  // namespace tess
