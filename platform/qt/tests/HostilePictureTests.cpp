// Files made to hang, fool or exhaust the picture loader, each a few hundred bytes: each must be
// refused with the right code (or load as what it is) without a wait and without decoding more
// than its headers allow.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Bmp.h"
#include "platform/PictureHeader.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/LittleEndian.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::put16;
using testing::put32;

void set16(std::string& bytes, std::size_t at, std::uint32_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// BMP headers for a picture of `width` x `height` at `bits` a pixel in `compression`, then `data`.
std::string bmp(std::int32_t width, std::int32_t height, int bits, int compression,
                const std::string& data, int paletteEntries = 0) {
    std::string out = "BM";
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(paletteEntries);
    put32(out, offset + static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, static_cast<std::uint32_t>(compression));
    put32(out, static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(paletteEntries));
    put32(out, 0);
    for (int i = 0; i < paletteEntries; ++i) {
        put32(out, 0x00102030u * static_cast<std::uint32_t>(i));
    }
    return out + data;
}

// A noisy picture as a JPEG: its scan data is long and has no repeats to lean on.
std::string noisyJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, seed >> 8);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "jpeg", 90));
    return bytes.toStdString();
}

// The JPEG with the frame header's size replaced.
std::string withFrameSize(std::string jpeg, std::uint32_t width, std::uint32_t height) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

// Offsets inside gifFixture's bytes without a transparent colour: the screen's size, then the
// first image's place and size.
constexpr std::size_t kGifScreen = 6;
constexpr std::size_t kGifImage = 6 + 7 + 12 + 1;

std::string gifWith(std::uint32_t screenW, std::uint32_t screenH, std::uint32_t left,
                    std::uint32_t top, std::uint32_t imageW, std::uint32_t imageH) {
    std::string gif = testing::gifFixture(1, 1, {0});
    set16(gif, kGifScreen, screenW);
    set16(gif, kGifScreen + 2, screenH);
    set16(gif, kGifImage, left);
    set16(gif, kGifImage + 2, top);
    set16(gif, kGifImage + 4, imageW);
    set16(gif, kGifImage + 6, imageH);
    return gif;
}

// An icon file of one entry holding `data` (a BMP without its file header, or a PNG).
std::string ico(const std::string& data, std::uint32_t declaredSize, std::uint32_t offset = 22) {
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out += '\x10';  // 16 x 16 in the directory
    out += '\x10';
    out += std::string(2, '\0');
    put16(out, 1);
    put16(out, 32);
    put32(out, declaredSize);
    put32(out, offset);
    return out + data;
}

std::string pngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    std::string out("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (const std::uint32_t v : {width, height}) {
        out += static_cast<char>(v >> 24);
        out += static_cast<char>((v >> 16) & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    }
    out += std::string("\x08\x06\0\0\0", 5);
    out += std::string(4, '\0');  // check sum
    out += std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    return out;
}

std::string qtIcon() {
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(qRgba(200, 100, 50, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(icon.save(&buffer, "ico"));
    return bytes.toStdString();
}

TEST(HostilePictures, DamagedOrForgedHeadersAreRefusedNeverDecoded) {
    const std::string jpeg = noisyJpeg(24, 24);
    const std::string gif = testing::gifFixture(3, 2, {0, 1, 2, 3, 0, 1});
    const std::string icon = qtIcon();
    const std::string rle8OneLine = bmp(16384, 16384, 8, 1, std::string("\x00\x00", 2), 2);
    const struct {
        const char* name;
        std::string bytes;
        int code;
    } cases[] = {
        // BMP
        {"32 bytes of BMP headers", bmp(8192, 26624, 24, 0, "").substr(0, 32),
         errc::InvalidPicture},
        {"negative width", bmp(-3072, 30841, 24, 0, std::string(16, 'x')).substr(0, 51),
         errc::InvalidPicture},
        {"negative width, whole", bmp(-2, 2, 24, 0, std::string(16, '\0')), errc::InvalidPicture},
        {"run-length data of one line and no end", rle8OneLine, errc::InvalidPicture},
        {"unknown bit count", bmp(2, 2, 7, 0, std::string(16, '\0')), errc::InvalidPicture},
        {"embedded PNG coding", bmp(2, 2, 0, 5, std::string(16, '\0')), errc::InvalidPicture},
        {"run-length coding at 24 bits", bmp(2, 2, 24, 1, std::string("\0\1", 2)),
         errc::InvalidPicture},
        {"rows far beyond the limit", bmp(30000, 30000, 24, 0, std::string(64, '\0')),
         errc::OutOfMemory},
        // JPEG
        {"first half of a JPEG", jpeg.substr(0, jpeg.size() / 2), errc::InvalidPicture},
        {"JPEG without its end marker", jpeg.substr(0, jpeg.size() - 2), errc::InvalidPicture},
        {"JPEG cut inside its headers", jpeg.substr(0, 40), errc::InvalidPicture},
        {"JPEG frame of height 0", withFrameSize(jpeg, 24, 0), errc::InvalidPicture},
        {"JPEG frame beyond the limit", withFrameSize(jpeg, 20000, 20000), errc::OutOfMemory},
        {"JPEG frame larger than its data", withFrameSize(jpeg, 1024, 1024), errc::InvalidPicture},
        {"JPEG markers only", std::string("\xFF\xD8\xFF\xD9", 4), errc::InvalidPicture},
        // GIF
        {"GIF cut inside the end of its image data", gif.substr(0, gif.size() - 2),
         errc::InvalidPicture},
        {"GIF image data cut", gif.substr(0, gif.size() - 4), errc::InvalidPicture},
        {"GIF screen only", gif.substr(0, 13), errc::InvalidPicture},
        {"GIF trailer before any image", gif.substr(0, 25) + ";", errc::InvalidPicture},
        {"GIF screen beyond the limit", gifWith(16000, 40000, 0, 0, 1, 1), errc::OutOfMemory},
        {"GIF image beyond a small screen", gifWith(1, 1, 0, 0, 20000, 20000), errc::OutOfMemory},
        {"GIF image placed beyond the limit", gifWith(0, 0, 30000, 30000, 1, 1), errc::OutOfMemory},
        // Qt's GIF reader cannot decode this one: it is too large, not damaged
        {"GIF screen of 16384 x 16384", gifWith(16384, 16384, 0, 0, 1, 1), errc::OutOfMemory},
        {"GIF of no pixels", gifWith(0, 0, 0, 0, 0, 0), errc::InvalidPicture},
        // a few bytes of data cannot fill 8000 x 8000 pixels; the decoder would make up the rest
        {"GIF image data too short for its size", gifWith(0, 0, 0, 0, 8000, 8000),
         errc::InvalidPicture},
        // ICO
        {"icon directory cut", icon.substr(0, 14), errc::InvalidPicture},
        {"icon entry data beyond the file", icon.substr(0, icon.size() - 10), errc::InvalidPicture},
        {"icon entry offset beyond the file", ico("", 40, 4000), errc::InvalidPicture},
        {"icon PNG entry beyond the limit",
         ico(pngHeaderOnly(30000, 30000), static_cast<std::uint32_t>(pngHeaderOnly(1, 1).size())),
         errc::OutOfMemory},
        {"icon PNG entry without its end", ico(pngHeaderOnly(16, 16).substr(0, 33), 33),
         errc::InvalidPicture},
        // neither
        {"nothing", "", errc::InvalidPicture},
        {"text", "hello, picture", errc::InvalidPicture},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LT(c.bytes.size(), 4096u);
        const Result<Picture> loaded = decodePicture(c.bytes, 0);
        ASSERT_FALSE(loaded.ok()) << loaded->width() << " x " << loaded->height();
        EXPECT_EQ(loaded.error().code, c.code) << loaded.error().reason;
    }
}

TEST(HostilePictures, WholeFilesOfTheSameKindsStillLoad) {
    const std::string jpeg = noisyJpeg(64, 64);
    const struct {
        const char* name;
        std::string bytes;
        int width;
        int height;
    } cases[] = {
        {"JPEG", jpeg, 64, 64},
        {"JPEG with bytes after its end", jpeg + "trailing", 64, 64},
        {"run-length data ending in the last row",
         bmp(2, 2, 8, 1, std::string("\x02\x00\x00\x00\x02\x01\x00\x01", 8), 2), 2, 2},
        {"run-length jump to the end",
         bmp(2, 3, 8, 1, std::string("\x00\x02\x00\x02\x00\x01", 6), 2), 2, 3},
        {"run-length end before the last row",
         bmp(2, 3, 8, 1, std::string("\x02\x00\x00\x00\x00\x01", 6), 2), 2, 3},
        {"GIF without its trailer",
         [] {
             std::string gif = testing::gifFixture(3, 2, {0, 1, 2, 3, 0, 1});
             gif.pop_back();
             return gif;
         }(),
         3, 2},
        {"top-down BMP", bmp(1, -2, 24, 0, std::string(8, '\x7F')), 1, 2},
        {"icon", qtIcon(), 4, 4},
        // A picture far larger than its bytes is still a valid picture.
        {"GIF of a large screen and a small image", gifWith(4000, 3000, 0, 0, 1, 1), 4000, 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> loaded = decodePicture(c.bytes, 0);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(loaded->width(), c.width);
        EXPECT_EQ(loaded->height(), c.height);
    }
}

// 24-bit BMPs are read without Qt's decoder: they must give the pixels Qt's decoder gives.
TEST(HostilePictures, PlainBmpsReadDirectlyMatchQtsDecoder) {
    std::string rows;
    for (int i = 0; i < 4 * 5 * 4; ++i) {
        rows += static_cast<char>(i * 37 + 11);
    }
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"1 x 1", bmp(1, 1, 24, 0, rows.substr(0, 4))},
        {"3 x 2, padded rows", bmp(3, 2, 24, 0, rows.substr(0, 24))},
        {"4 x 3, no padding", bmp(4, 3, 24, 0, rows.substr(0, 36))},
        {"5 x 4 top-down", bmp(5, -4, 24, 0, rows.substr(0, 64))},
        {"pixels after a gap",
         [&] {
             std::string gap = bmp(2, 2, 24, 0, std::string(6, '\0') + rows.substr(0, 16));
             set16(gap, 10, 54 + 6);
             return gap;
         }()},
        {"written by us", encodeBmp24(Picture(7, 3, 0x204060))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage qt = QImage::fromData(
            QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())), "BMP");
        ASSERT_FALSE(qt.isNull());
        const Result<Picture> loaded = decodePicture(c.bytes, 0);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(*loaded, fromQImage(qt, 0));
    }
}

TEST(HostilePictures, HeadersTellTheSizeBeforeDecoding) {
    const std::string jpeg = noisyJpeg(64, 48);
    const PictureLayout fromJpeg = inspectPicture(jpeg);
    EXPECT_EQ(fromJpeg.format, PictureFormat::Jpeg);
    EXPECT_EQ(fromJpeg.width, 64);
    EXPECT_EQ(fromJpeg.height, 48);
    EXPECT_TRUE(fromJpeg.readable && fromJpeg.complete);

    const PictureLayout fromGif = inspectPicture(gifWith(10, 10, 5, 8, 20, 4));
    EXPECT_EQ(fromGif.width, 25);  // the image reaches beyond the screen
    EXPECT_EQ(fromGif.height, 12);

    const PictureLayout fromIcon = inspectPicture(qtIcon());
    EXPECT_EQ(fromIcon.format, PictureFormat::Ico);
    EXPECT_EQ(fromIcon.width, 4);
    EXPECT_TRUE(fromIcon.complete);
}

class HostileFiles : public ::testing::Test {
  protected:
    testing::TempFolder folder_{"hostile"};
};

TEST_F(HostileFiles, OnlyRegularFilesAreOpened) {
    const std::string fifo = folder_.file("x.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = folder_.file("z.bmp");
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    const std::string null = folder_.file("n.jpg");
    ASSERT_EQ(::symlink("/dev/null", null.c_str()), 0);

    const std::string socketPath = folder_.file("s.gif");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    for (const std::string& path : {fifo, zero, null, socketPath}) {
        SCOPED_TRACE(path);
        const Result<Picture> loaded = loadPictureFile(path, 0);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
        EXPECT_NE(loaded.error().reason.find("not a picture file"), std::string::npos);
    }
    ::close(sock);

    // A link to a picture file is followed.
    const std::string real = folder_.write("real.bmp", encodeBmp24(Picture(3, 2, 0x102030)));
    const std::string link = folder_.file("link.bmp");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    const Result<Picture> linked = loadPictureFile(link, 0);
    ASSERT_TRUE(linked.ok()) << linked.error().reason;
    EXPECT_EQ(*linked, Picture(3, 2, 0x102030));

    // A dangling link is a missing file.
    const std::string dangling = folder_.file("gone.bmp");
    ASSERT_EQ(::symlink(folder_.file("nowhere.bmp").c_str(), dangling.c_str()), 0);
    EXPECT_EQ(loadPictureFile(dangling, 0).error().code, errc::FileNotFound);
}

TEST_F(HostileFiles, TheFileNameGivesTheSameAnswerAsTheBytes) {
    const std::string jpeg = noisyJpeg(32, 32);
    const std::string half = folder_.write("half.jpg", jpeg.substr(0, jpeg.size() / 2));
    const Result<Picture> loaded = loadPictureFile(half, 0);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
    EXPECT_NE(loaded.error().reason.find("half.jpg"), std::string::npos);
    EXPECT_NE(loaded.error().reason.find("cut short"), std::string::npos);
}

}  // namespace
}  // namespace tess
