#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Bmp.h"
#include "platform/Picture.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/TempFolder.h"

namespace tess {
namespace {

using testing::readFileContents;
using testing::TempFolder;

// Every pixel a different colour, with the unused top byte set, which the file never shows.
Picture distinct(int width, int height) {
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = p.row(y);
        for (int x = 0; x < width; ++x) {
            row[x] =
                0xA5000000u | (static_cast<std::uint32_t>(x * 7 + y * 131) * 0x010203u & 0xFFFFFFu);
        }
    }
    return p;
}

TEST(Bmp24, TheFileIsTheHeadersAndBottomUpRowsOfBlueGreenRed) {
    Picture p(3, 2);
    const std::uint32_t pixels[2][3] = {{0x030201, 0x060504, 0x090807},
                                        {0x0C0B0A, 0x0F0E0D, 0x121110}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            p.row(y)[x] = pixels[y][x];
        }
    }
    const std::string expected = std::string("BM\x4E\0\0\0\0\0\0\0\x36\0\0\0", 14) +
                                 std::string("\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0", 16) +
                                 std::string("\0\0\0\0\x18\0\0\0", 8) + std::string(16, '\0') +
                                 std::string("\x0C\x0B\x0A\x0F\x0E\x0D\x12\x11\x10\0\0\0", 12) +
                                 std::string("\x03\x02\x01\x06\x05\x04\x09\x08\x07\0\0\0", 12);
    EXPECT_EQ(encodeBmp24(p), expected);
}

// The streamed file is the encoded one for every row padding, across several blocks of rows, for
// pictures with a side of 0, and over a file that held more.
TEST(Bmp24, WrittenToAFileItIsTheEncodedBytes) {
    TempFolder folder("tess-bmp");
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3},      {3, 1},     {4, 2},   {5, 5},
                                         {6, 1}, {7, 2},      {9, 3},     {0, 0},   {0, 4},
                                         {4, 0}, {1000, 200}, {32767, 3}, {1, 5000}};
    for (const auto& [width, height] : sizes) {
        const Picture p = distinct(width, height);
        const std::string path = folder.file("p.bmp");
        // Written over the file of the size before, so longer old bytes must go.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(writeBmp24(fd, p), 0) << width << "x" << height;
        ::close(fd);
        EXPECT_TRUE(readFileContents(path) == encodeBmp24(p)) << width << "x" << height;
    }
}

TEST(Bmp24, AFailedWriteGivesTheSystemsReason) {
    TempFolder folder("tess-bmp");
    const std::string path = folder.write("p.bmp", "");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeBmp24(fd, distinct(3, 3)), EBADF);
    ::close(fd);
}

// A write over a file in place that stops half-way must not leave what reads as a whole bitmap.
TEST(Bmp24, TheBitmapMarkIsWrittenLast) {
    TempFolder folder("tess-bmp");
    const Picture p = distinct(50, 40);
    const std::string path = folder.write("p.bmp", encodeBmp24(p));
    // Room for the headers and a few rows only, as a full disk would leave it.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const int err = [&] {
        const testing::FileSizeLimit limit(1000);
        EXPECT_TRUE(limit.active());
        return writeBmp24(fd, distinct(60, 40));
    }();
    ::close(fd);
    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(readFileContents(path).substr(0, 2), std::string(2, '\0'));
}

}  // namespace
}  // namespace tess
