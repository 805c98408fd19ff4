// Pictures as common tools write them, made here byte by byte, with the pixels the loader must
// give: the AND masks and alpha bytes of icons, bit-field BMPs, GIFs decoded without Qt, EXIF
// orientations, and the memory a small file that declares a huge picture may cost.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "platform/Picture.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/LittleEndian.h"
#include "platform/testing/Sanitizers.h"

namespace tess {
namespace {

using testing::put16;
using testing::put32;

// A picture of the given rows of stored colours (0x00BBGGRR).
Picture pictureOf(const std::vector<std::vector<std::uint32_t>>& rows) {
    Picture p(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            p.setPixel(static_cast<int>(x), static_cast<int>(y), static_cast<Colour>(rows[y][x]));
        }
    }
    return p;
}

// ---- icons

// A BITMAPINFOHEADER of an icon entry (twice the height: colour rows, then mask rows).
std::string iconHeader(int width, int height, int bits, int colours) {
    std::string out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height * 2));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(colours));
    put32(out, 0);
    return out;
}

// A one-entry icon file around `entry`.
std::string iconFile(const std::string& entry, int width, int height, int bits) {
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out += static_cast<char>(width);
    out += static_cast<char>(height);
    out += '\0';
    out += '\0';
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, static_cast<std::uint32_t>(entry.size()));
    put32(out, 22);
    return out + entry;
}

// Pixel rows (bottom row first), each padded to four bytes.
std::string rowsOf(const std::vector<std::string>& rows) {
    std::string out;
    for (const std::string& r : rows) {
        out += r + std::string((4 - r.size() % 4) % 4, '\0');
    }
    return out;
}

// Mask rows of a 2-pixel-wide icon (bottom row first): a set bit is transparent.
std::string mask2(const std::vector<int>& rows) {
    std::vector<std::string> bits;
    for (const int r : rows) {
        bits.emplace_back(1, static_cast<char>(r));
    }
    return rowsOf(bits);
}

std::string bgr(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

std::string bgra(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    return bgr(r, g, b) + static_cast<char>(a);
}

constexpr Colour kBack = 0x123456;

struct Expected {
    const char* name;
    std::string bytes;
    Picture pixels;
};

void expectPixels(const Expected& c) {
    SCOPED_TRACE(c.name);
    const Result<Picture> loaded = decodePicture(c.bytes, kBack);
    ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
    EXPECT_EQ(loaded->width(), c.pixels.width());
    EXPECT_EQ(loaded->height(), c.pixels.height());
    for (int y = 0; y < c.pixels.height(); ++y) {
        for (int x = 0; x < c.pixels.width(); ++x) {
            EXPECT_EQ(loaded->pixel(x, y), c.pixels.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(IconEntries, AndMaskAndAlphaGiveThePixelsTheFormatSays) {
    const std::uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, black = 0,
                        white = 0xFFFFFF;
    // Rows bottom-up: the bottom row is (blue, black), the top row (red, green).
    const std::string rows24 =
        rowsOf({bgr(0, 0, 255) + bgr(0, 0, 0), bgr(255, 0, 0) + bgr(0, 255, 0)});
    const std::string rows32zero =
        rowsOf({bgra(0, 0, 255, 0) + bgra(0, 0, 0, 0), bgra(255, 0, 0, 0) + bgra(0, 255, 0, 0)});
    const std::string rows32alpha = rowsOf(
        {bgra(0, 0, 255, 255) + bgra(0, 0, 0, 0), bgra(255, 0, 0, 255) + bgra(255, 0, 100, 128)});
    std::string palette4;
    for (const std::uint32_t c : {red, green, blue, white}) {
        put32(palette4, (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16));  // stored blue, green, red
    }
    // The bottom right pixel is masked in every case but the alpha ones.
    const std::string mask = mask2({0x40, 0x00});
    const std::vector<Expected> cases = {
        {"24 bits: the masked pixel shows the back colour, not black",
         iconFile(iconHeader(2, 2, 24, 0) + rows24 + mask, 2, 2, 24),
         pictureOf({{red, green}, {blue, kBack}})},
        {"a cursor of 24 bits",
         [&] {
             std::string cursor = iconFile(iconHeader(2, 2, 24, 0) + rows24 + mask, 2, 2, 24);
             cursor[2] = '\x02';  // the file type: a cursor
             return cursor;
         }(),
         pictureOf({{red, green}, {blue, kBack}})},
        {"24 bits, nothing masked",
         iconFile(iconHeader(2, 2, 24, 0) + rows24 + mask2({0, 0}), 2, 2, 24),
         pictureOf({{red, green}, {blue, black}})},
        {"32 bits, every alpha 0: the mask carries the transparency",
         iconFile(iconHeader(2, 2, 32, 0) + rows32zero + mask, 2, 2, 32),
         pictureOf({{red, green}, {blue, kBack}})},
        {"32 bits, every alpha 0 and no mask: opaque",
         iconFile(iconHeader(2, 2, 32, 0) + rows32zero, 2, 2, 32),
         pictureOf({{red, green}, {blue, black}})},
        {"32 bits with alpha: blended, the mask ignored",
         iconFile(iconHeader(2, 2, 32, 0) + rows32alpha + mask2({0x00, 0xC0}), 2, 2, 32),
         pictureOf({{red, rgb(171, 26, 59)}, {blue, kBack}})},
        {"32 bits with alpha and no mask",
         iconFile(iconHeader(2, 2, 32, 0) + rows32alpha, 2, 2, 32),
         pictureOf({{red, rgb(171, 26, 59)}, {blue, kBack}})},
        {"8 bits through a palette",
         iconFile(iconHeader(2, 2, 8, 4) + palette4 +
                      rowsOf({"\x02\x03", std::string("\x00\x01", 2)}) + mask,
                  2, 2, 8),
         pictureOf({{red, green}, {blue, kBack}})},
        {"4 bits through a palette",
         iconFile(
             iconHeader(2, 2, 4, 4) + palette4 + rowsOf({"\x23", "\x01"}) + mask2({0x00, 0x80}), 2,
             2, 4),
         pictureOf({{kBack, green}, {blue, white}})},
        {"1 bit through a palette",
         iconFile(iconHeader(2, 2, 1, 2) + palette4.substr(0, 8) + rowsOf({"\x40", "\x80"}) + mask,
                  2, 2, 1),
         pictureOf({{green, red}, {red, kBack}})},
    };
    for (const Expected& c : cases) {
        expectPixels(c);
    }
}

TEST(IconEntries, EntriesCutShortAreStillRefused) {
    const std::string rows24 = rowsOf({bgr(1, 2, 3) + bgr(4, 5, 6), bgr(7, 8, 9) + bgr(1, 2, 3)});
    const std::string rows32 =
        rowsOf({bgra(1, 2, 3, 255) + bgra(4, 5, 6, 255), bgra(7, 8, 9, 255) + bgra(1, 2, 3, 255)});
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"24 bits without its mask", iconFile(iconHeader(2, 2, 24, 0) + rows24, 2, 2, 24)},
        {"32 bits, a mask row short",
         iconFile(iconHeader(2, 2, 32, 0) + rows32 + mask2({0, 0}).substr(0, 4), 2, 2, 32)},
        {"32 bits, a colour row short",
         iconFile(iconHeader(2, 2, 32, 0) + rows32.substr(0, 8), 2, 2, 32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> loaded = decodePicture(c.bytes, kBack);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
        EXPECT_NE(loaded.error().reason.find("cut short"), std::string::npos)
            << loaded.error().reason;
    }
}

// ---- BMP

// A BMP of `bits` a pixel over a palette of 16 grey-blue steps, with headers as the old
// 12-byte kind or the common 40-byte kind.
std::string paletteBmp(int width, int height, int bits, int compression, const std::string& data,
                       bool oldHeader = false) {
    const int entries = 1 << std::min(bits, 4);
    const std::uint32_t headerSize = oldHeader ? 12 : 40;
    const std::uint32_t offset =
        14 + headerSize + static_cast<std::uint32_t>(entries) * (oldHeader ? 3 : 4);
    std::string out = "BM";
    put32(out, offset + static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, headerSize);
    if (oldHeader) {
        put16(out, static_cast<std::uint32_t>(width));
        put16(out, static_cast<std::uint32_t>(height));
        put16(out, 1);
        put16(out, static_cast<std::uint32_t>(bits));
    } else {
        put32(out, static_cast<std::uint32_t>(width));
        put32(out, static_cast<std::uint32_t>(height));
        put16(out, 1);
        put16(out, static_cast<std::uint32_t>(bits));
        put32(out, static_cast<std::uint32_t>(compression));
        put32(out, static_cast<std::uint32_t>(data.size()));
        put32(out, 0);
        put32(out, 0);
        put32(out, static_cast<std::uint32_t>(entries));
        put32(out, 0);
    }
    for (int i = 0; i < entries; ++i) {
        out += static_cast<char>(255 - i * 16);
        out += static_cast<char>(i * 16);
        out += static_cast<char>(i * 7);
        if (!oldHeader) {
            out += '\0';
        }
    }
    return out + data;
}

std::string bytesOf(std::size_t count, std::uint32_t seed) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out += static_cast<char>(seed >> 24);
    }
    return out;
}

// Entry i of paletteBmp's palette.
std::uint32_t paletteEntry(std::uint32_t i) {
    return static_cast<std::uint32_t>(
        rgb(static_cast<int>(i * 7), static_cast<int>(i * 16), static_cast<int>(255 - i * 16)));
}

// A 32-bit BMP with a V4 (108 bytes) or V5 (124 bytes) header and bit fields naming an alpha mask.
std::string bitFieldBmp(std::uint32_t headerSize, int width, int height, const std::string& rows) {
    std::string out = "BM";
    const std::uint32_t offset = 14 + headerSize;
    put32(out, offset + static_cast<std::uint32_t>(rows.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, headerSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 32);
    put32(out, 3);  // bit fields
    put32(out, static_cast<std::uint32_t>(rows.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (const std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
        put32(out, m);
    }
    put32(out, 0x73524742);  // "sRGB"
    out += std::string(headerSize - 40 - 20, '\0');
    return out + rows;
}

// An 8-bit run-length BMP of `height` rows of 2 pixels over a palette of red, green, blue.
std::string rle8(int height, const std::string& data) {
    std::string out = "BM";
    const std::uint32_t offset = 14 + 40 + 12;
    put32(out, offset + static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, 2);
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 8);
    put32(out, 1);
    put32(out, static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, 3);
    put32(out, 0);
    for (const std::uint32_t c : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) {
        put32(out, c);  // stored blue, green, red, 0: red, green, blue
    }
    return out + data;
}

TEST(BmpFiles, BitFieldsAlphaAndEarlyRunEndsGiveThePixelsTheFormatSays) {
    const std::uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    const std::string zeroAlpha =
        bgra(255, 0, 0, 0) + bgra(0, 255, 0, 0) + bgra(0, 0, 255, 0) + bgra(10, 20, 30, 0);
    const std::string someAlpha =
        bgra(255, 0, 0, 255) + bgra(0, 255, 0, 0) + bgra(0, 0, 255, 255) + bgra(10, 20, 30, 255);
    const std::vector<Expected> cases = {
        {"V5 bit fields, every alpha 0: opaque", bitFieldBmp(124, 2, 2, zeroAlpha),
         pictureOf({{blue, rgb(10, 20, 30)}, {red, green}})},
        {"V4 bit fields, every alpha 0: opaque", bitFieldBmp(108, 2, 2, zeroAlpha),
         pictureOf({{blue, rgb(10, 20, 30)}, {red, green}})},
        {"V5 bit fields with alpha: the transparent pixel shows the back colour",
         bitFieldBmp(124, 2, 2, someAlpha), pictureOf({{blue, rgb(10, 20, 30)}, {red, kBack}})},
        // Rows bottom-up; the end of the bitmap leaves the two top rows at entry 0 (red).
        {"run-length end before the last rows", rle8(3, std::string("\x02\x01\x00\x01", 4)),
         pictureOf({{red, red}, {red, red}, {green, green}})},
        {"run-length end after a partial row", rle8(2, std::string("\x01\x02\x00\x01", 4)),
         pictureOf({{red, red}, {blue, red}})},
        // What the data does not draw (after a jump or an end of line) stays at entry 0.
        {"run-length 8 bits: runs, an absolute run, a jump",
         paletteBmp(
             6, 3, 8, 1,
             std::string("\x03\x05\x00\x03\x07\x08\x09\x00\x00\x00\x00\x02\x02\x01\x02\x0A\x00\x00",
                         18)),
         pictureOf({{paletteEntry(0), paletteEntry(0), paletteEntry(10), paletteEntry(10),
                     paletteEntry(0), paletteEntry(0)},
                    {paletteEntry(0), paletteEntry(0), paletteEntry(0), paletteEntry(0),
                     paletteEntry(0), paletteEntry(0)},
                    {paletteEntry(5), paletteEntry(5), paletteEntry(5), paletteEntry(7),
                     paletteEntry(8), paletteEntry(9)}})},
        {"run-length 4 bits: runs and an absolute run",
         paletteBmp(6, 2, 4, 2,
                    std::string("\x05\x12\x00\x00\x00\x05\x34\x56\x70\x00\x00\x01", 12)),
         pictureOf({{paletteEntry(3), paletteEntry(4), paletteEntry(5), paletteEntry(6),
                     paletteEntry(7), paletteEntry(0)},
                    {paletteEntry(1), paletteEntry(2), paletteEntry(1), paletteEntry(2),
                     paletteEntry(1), paletteEntry(0)}})},
    };
    for (const Expected& c : cases) {
        expectPixels(c);
    }
    // A run-length file that stops before its end code is still cut short.
    const Result<Picture> cut = decodePicture(rle8(3, std::string("\x02\x01\x00\x00", 4)), kBack);
    ASSERT_FALSE(cut.ok());
    EXPECT_NE(cut.error().reason.find("cut short"), std::string::npos);
}

// Palette BMPs are read without Qt's decoder: whole files give the pixels Qt's decoder gives.
TEST(BmpFiles, PaletteBmpsReadDirectlyMatchQtsDecoder) {
    // 8-bit indices kept inside the palette of 16.
    std::string indices8 = bytesOf(12 * 5, 3);
    for (char& c : indices8) {
        c = static_cast<char>(c & 0x0F);
    }
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"1 bit, 13 x 3", paletteBmp(13, 3, 1, 0, bytesOf(12, 1))},
        {"4 bits, 7 x 4", paletteBmp(7, 4, 4, 0, bytesOf(16, 2))},
        {"8 bits, 12 x 5", paletteBmp(12, 5, 8, 0, indices8)},
        {"8 bits, top-down", paletteBmp(12, -5, 8, 0, indices8)},
        {"4 bits, old header", paletteBmp(7, 4, 4, 0, bytesOf(16, 5), true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage qt = QImage::fromData(
            QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())), "BMP");
        ASSERT_FALSE(qt.isNull());
        const Result<Picture> loaded = decodePicture(c.bytes, kBack);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(*loaded, fromQImage(qt, kBack));
    }
}

// ---- GIF

// A GIF of indices into `table` (3 bytes an entry), LZW coded as encoders do: codes grow to 12
// bits and a full table is cleared.
struct GifSpec {
    int screenWidth;
    int screenHeight;
    int background = 0;
    std::string globalTable = {};  // empty: none
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string localTable = {};
    bool interlaced = false;
    int transparent = -1;
    int minCodeSize = 2;
    std::vector<int> indices = {};  // in the order they are stored
    bool trailer = true;
    std::size_t dropLastCodes = 0;  // the stream stops early (still marked whole by its blocks)
};

int tableBits(const std::string& table) {
    int bits = 0;
    while ((std::size_t{2} << bits) * 3 < table.size()) {
        ++bits;
    }
    return bits;
}

std::string lzw(const std::vector<int>& indices, int minCodeSize, std::size_t dropLastCodes) {
    const int clear = 1 << minCodeSize;
    std::vector<int> codes{clear};
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    int width = minCodeSize + 1;
    std::vector<int> widths{width};
    int prefix = -1;
    const auto send = [&](int code) {
        codes.push_back(code);
        widths.push_back(width);
    };
    for (const int k : indices) {
        if (prefix < 0) {
            prefix = k;
            continue;
        }
        const auto found = table.find({prefix, k});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        send(prefix);
        if (next < 4096) {
            table[{prefix, k}] = next++;
            if (next > (1 << width) && width < 12) {
                ++width;
            }
        } else {
            send(clear);
            table.clear();
            next = clear + 2;
            width = minCodeSize + 1;
        }
        prefix = k;
    }
    if (prefix >= 0) {
        send(prefix);
    }
    send(clear + 1);
    codes.resize(codes.size() - std::min(dropLastCodes, codes.size() - 1));
    std::string data;
    std::uint64_t bits = 0;
    int count = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        bits |= static_cast<std::uint64_t>(codes[i]) << count;
        count += widths[i];
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) {
        data += static_cast<char>(bits & 0xFF);
    }
    return data;
}

std::string gif(const GifSpec& s) {
    std::string out = "GIF89a";
    put16(out, static_cast<std::uint32_t>(s.screenWidth));
    put16(out, static_cast<std::uint32_t>(s.screenHeight));
    out += static_cast<char>(s.globalTable.empty() ? 0 : 0x80 | tableBits(s.globalTable));
    out += static_cast<char>(s.background);
    out += '\0';
    out += s.globalTable;
    if (s.transparent >= 0) {
        out += "\x21\xF9\x04\x01";
        out += std::string(2, '\0');
        out += static_cast<char>(s.transparent);
        out += '\0';
    }
    out += '\x2C';
    put16(out, static_cast<std::uint32_t>(s.left));
    put16(out, static_cast<std::uint32_t>(s.top));
    put16(out, static_cast<std::uint32_t>(s.width));
    put16(out, static_cast<std::uint32_t>(s.height));
    out += static_cast<char>((s.localTable.empty() ? 0 : 0x80 | tableBits(s.localTable)) |
                             (s.interlaced ? 0x40 : 0));
    out += s.localTable;
    out += static_cast<char>(s.minCodeSize);
    const std::string data = lzw(s.indices, s.minCodeSize, s.dropLastCodes);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    if (s.trailer) {
        out += '\x3B';
    }
    return out;
}

std::string table(int entries) {
    std::string out;
    for (int i = 0; i < entries; ++i) {
        out += static_cast<char>(i * 37 % 256);
        out += static_cast<char>(255 - i);
        out += static_cast<char>(i * 11 % 256);
    }
    return out;
}

std::vector<int> noise(std::size_t count, int colours, std::uint32_t seed = 7) {
    std::vector<int> out;
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        // Runs as well as noise, so strings of every length are coded.
        out.push_back(
            static_cast<int>((seed >> 24) % 4 == 0 ? (seed >> 8) % colours : (i / 7) % colours));
    }
    return out;
}

Picture qtDecoded(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
    return fromQImage(image, kBack);
}

// The loader no longer decodes GIFs with Qt's reader; for files whose first image is whole it
// must show the pixels Qt's reader shows.
TEST(GifFiles, DecodedAsQtsReaderShowsThem) {
    const std::vector<int> four = {0, 1, 2, 3};
    const std::vector<std::pair<const char*, GifSpec>> cases = {
        {"small, full screen",
         {.screenWidth = 2,
          .screenHeight = 2,
          .globalTable = table(4),
          .width = 2,
          .height = 2,
          .indices = four}},
        {"256 colours, codes up to 12 bits and a cleared table",
         {.screenWidth = 300,
          .screenHeight = 200,
          .globalTable = table(256),
          .width = 300,
          .height = 200,
          .minCodeSize = 8,
          .indices = noise(60000, 256)}},
        {"16 colours, interlaced",
         {.screenWidth = 37,
          .screenHeight = 29,
          .globalTable = table(16),
          .width = 37,
          .height = 29,
          .interlaced = true,
          .minCodeSize = 4,
          .indices = noise(37 * 29, 16)}},
        {"interlaced, 5 rows",
         {.screenWidth = 3,
          .screenHeight = 5,
          .globalTable = table(4),
          .width = 3,
          .height = 5,
          .interlaced = true,
          .indices = noise(15, 4)}},
        {"a small image on a large screen shows the background colour",
         {.screenWidth = 9,
          .screenHeight = 7,
          .background = 2,
          .globalTable = table(4),
          .left = 3,
          .top = 2,
          .width = 2,
          .height = 2,
          .indices = four}},
        {"background index beyond the table",
         {.screenWidth = 4,
          .screenHeight = 3,
          .background = 9,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 2,
          .height = 2,
          .indices = four}},
        {"transparent colour on a large screen",
         {.screenWidth = 5,
          .screenHeight = 4,
          .background = 2,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 2,
          .height = 2,
          .transparent = 1,
          .indices = four}},
        {"local table",
         {.screenWidth = 3,
          .screenHeight = 2,
          .globalTable = table(4),
          .width = 3,
          .height = 2,
          .localTable = table(8),
          .minCodeSize = 3,
          .indices = {0, 1, 2, 3, 4, 5}}},
        {"local table, no global one, a large screen",
         {.screenWidth = 4,
          .screenHeight = 4,
          .background = 1,
          .left = 1,
          .top = 1,
          .width = 2,
          .height = 2,
          .localTable = table(4),
          .indices = four}},
        {"indices beyond the table",
         {.screenWidth = 4,
          .screenHeight = 1,
          .globalTable = table(2),
          .width = 4,
          .height = 1,
          .indices = four}},
        {"indices beyond the table of a transparent GIF",
         {.screenWidth = 4,
          .screenHeight = 1,
          .globalTable = table(2),
          .width = 4,
          .height = 1,
          .transparent = 0,
          .indices = four}},
        {"screen of width 0 takes the image's",
         {.screenWidth = 0,
          .screenHeight = 3,
          .background = 2,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 2,
          .height = 2,
          .indices = four}},
        {"screen of no size",
         {.screenWidth = 0,
          .screenHeight = 0,
          .background = 2,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 2,
          .height = 2,
          .indices = four}},
        {"image reaching beyond the screen is cut",
         {.screenWidth = 3,
          .screenHeight = 2,
          .background = 2,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 3,
          .height = 3,
          .indices = noise(9, 4)}},
        {"image larger than the screen at its corner",
         {.screenWidth = 2,
          .screenHeight = 2,
          .globalTable = table(4),
          .width = 3,
          .height = 3,
          .indices = noise(9, 4)}},
        {"data ending early on a covered screen",
         {.screenWidth = 5,
          .screenHeight = 3,
          .globalTable = table(4),
          .width = 5,
          .height = 3,
          .indices = noise(15, 4),
          .dropLastCodes = 4}},
        {"data ending early on a transparent screen",
         {.screenWidth = 5,
          .screenHeight = 3,
          .globalTable = table(4),
          .width = 5,
          .height = 3,
          .transparent = 0,
          .indices = noise(15, 4),
          .dropLastCodes = 4}},
        {"data ending early in a small image",
         {.screenWidth = 6,
          .screenHeight = 4,
          .background = 3,
          .globalTable = table(4),
          .left = 1,
          .top = 1,
          .width = 4,
          .height = 2,
          .indices = noise(8, 4),
          .dropLastCodes = 2}},
        {"more data than the image holds",
         {.screenWidth = 2,
          .screenHeight = 1,
          .globalTable = table(4),
          .width = 2,
          .height = 1,
          .indices = four}},
        {"no trailer after the image",
         {.screenWidth = 2,
          .screenHeight = 2,
          .globalTable = table(4),
          .width = 2,
          .height = 2,
          .indices = four,
          .trailer = false}},
    };
    for (const auto& [name, spec] : cases) {
        SCOPED_TRACE(name);
        const std::string bytes = gif(spec);
        const Result<Picture> loaded = decodePicture(bytes, kBack);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(*loaded, qtDecoded(bytes));
    }
}

TEST(GifFiles, PixelsOfAWholeImageAreItsColours) {
    GifSpec spec{.screenWidth = 300,
                 .screenHeight = 200,
                 .globalTable = table(256),
                 .width = 300,
                 .height = 200,
                 .minCodeSize = 8,
                 .indices = noise(60000, 256, 99)};
    const std::vector<std::pair<const char*, bool>> cases = {{"in order", false},
                                                             {"interlaced", true}};
    for (const auto& [name, interlaced] : cases) {
        SCOPED_TRACE(name);
        spec.interlaced = interlaced;
        const Result<Picture> loaded = decodePicture(gif(spec), kBack);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        // Rows arrive in the passes of an interlaced image: 0, 8, 16, ... then 4, 12, ... then
        // 2, 6, ... then 1, 3, ...
        std::vector<int> rowOrder;
        for (const auto& [start, step] :
             interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                        : std::vector<std::pair<int, int>>{{0, 1}}) {
            for (int y = start; y < 200; y += step) {
                rowOrder.push_back(y);
            }
        }
        for (std::size_t i = 0; i < spec.indices.size(); i += 997) {
            const int x = static_cast<int>(i % 300);
            const int y = rowOrder[i / 300];
            const auto at = static_cast<std::size_t>(spec.indices[i]) * 3;
            const auto byte = [&](std::size_t k) {
                return static_cast<unsigned char>(spec.globalTable[at + k]);
            };
            EXPECT_EQ(loaded->pixel(x, y), rgb(byte(0), byte(1), byte(2))) << x << ", " << y;
        }
    }
}

TEST(GifFiles, DamagedStreamsAreShownAsFarAsTheyGoOrRefused) {
    // A code beyond the table ends the image there; the rest is black.
    std::string bad = testing::gifFixture(4, 1, {0, 1, 2, 3});
    const Result<Picture> whole = decodePicture(bad, kBack);
    ASSERT_TRUE(whole.ok());
    const struct {
        const char* name;
        int minCodeSize;
    } refused[] = {{"code size 0", 0}, {"code size 12", 12}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        std::string bytes = testing::gifFixture(2, 1, {0, 1});
        bytes[6 + 7 + 12 + 10] = static_cast<char>(r.minCodeSize);
        const Result<Picture> loaded = decodePicture(bytes, kBack);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
    }
}

// ---- JPEG

std::string jpegOf(const QImage& image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes.toStdString();
}

// An APP1 block with the orientation tag, in either byte order, right after the start marker.
std::string withOrientation(const std::string& jpeg, int orientation, bool bigEndian) {
    std::string tiff =
        bigEndian ? std::string("MM\0\x2A\0\0\0\x08", 8) : std::string("II\x2A\0\x08\0\0\0", 8);
    const auto u16 = [&](std::uint32_t v) {
        if (bigEndian) {
            tiff += static_cast<char>(v >> 8);
            tiff += static_cast<char>(v & 0xFF);
        } else {
            tiff += static_cast<char>(v & 0xFF);
            tiff += static_cast<char>(v >> 8);
        }
    };
    const auto u32 = [&](std::uint32_t v) {
        if (bigEndian) {
            u16(v >> 16);
            u16(v & 0xFFFF);
        } else {
            u16(v & 0xFFFF);
            u16(v >> 16);
        }
    };
    u16(2);  // two entries: a resolution unit first, then the orientation
    u16(0x0128);
    u16(3);
    u32(1);
    u16(2);
    u16(0);
    u16(0x0112);
    u16(3);
    u32(1);
    u16(static_cast<std::uint32_t>(orientation));
    u16(0);
    u32(0);
    const std::string exif = std::string("Exif\0\0", 6) + tiff;
    std::string segment("\xFF\xE1", 2);
    segment += static_cast<char>((exif.size() + 2) >> 8);
    segment += static_cast<char>((exif.size() + 2) & 0xFF);
    return jpeg.substr(0, 2) + segment + exif + jpeg.substr(2);
}

// Grey 8 x 8 blocks of one level each: at quality 100 they decode to exactly their levels.
QImage greyBlocks(const std::vector<std::vector<int>>& levels) {
    QImage image(static_cast<int>(levels[0].size()) * 8, static_cast<int>(levels.size()) * 8,
                 QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.scanLine(y)[x] = static_cast<uchar>(
                levels[static_cast<std::size_t>(y / 8)][static_cast<std::size_t>(x / 8)]);
        }
    }
    return image;
}

// The picture of grey blocks the levels name, 8 x 8 pixels each.
Picture blocks(const std::vector<std::vector<int>>& levels) {
    Picture p(static_cast<int>(levels[0].size()) * 8, static_cast<int>(levels.size()) * 8);
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const int v = levels[static_cast<std::size_t>(y / 8)][static_cast<std::size_t>(x / 8)];
            p.setPixel(x, y, rgb(v, v, v));
        }
    }
    return p;
}

TEST(JpegFiles, ExifOrientationTurnsThePictureUpright) {
    // Stored as 3 blocks across and 2 down: a b c / d e f.
    const std::vector<std::vector<int>> stored = {{10, 50, 90}, {130, 170, 210}};
    const std::string jpeg = jpegOf(greyBlocks(stored));
    const struct {
        int orientation;
        std::vector<std::vector<int>> shown;
    } cases[] = {
        {1, {{10, 50, 90}, {130, 170, 210}}},
        {2, {{90, 50, 10}, {210, 170, 130}}},    // mirrored left to right
        {3, {{210, 170, 130}, {90, 50, 10}}},    // turned half way
        {4, {{130, 170, 210}, {10, 50, 90}}},    // mirrored top to bottom
        {5, {{10, 130}, {50, 170}, {90, 210}}},  // mirrored along the main diagonal
        {6, {{130, 10}, {170, 50}, {210, 90}}},  // turned a quarter clockwise
        {7, {{210, 90}, {170, 50}, {130, 10}}},  // mirrored along the other diagonal
        {8, {{90, 210}, {50, 170}, {10, 130}}},  // turned a quarter anticlockwise
        {0, {{10, 50, 90}, {130, 170, 210}}},    // not an orientation: as stored
        {9, {{10, 50, 90}, {130, 170, 210}}},
    };
    for (const bool bigEndian : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.orientation) +
                         (bigEndian ? " big-endian" : " little-endian"));
            const Result<Picture> loaded =
                decodePicture(withOrientation(jpeg, c.orientation, bigEndian), kBack);
            ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
            EXPECT_EQ(*loaded, blocks(c.shown));
        }
    }
}

QImage noisyColour(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 4242;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, (x * 5 + y * 3) % 2 == 0 ? seed >> 8 : qRgb(x * 4, y * 4, 128));
        }
    }
    return image;
}

// A CMYK JPEG as Adobe's programs write it (inverted channels, an Adobe marker), made with libjpeg.
std::string cmykJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = row.data() + static_cast<std::size_t>(x) * 4;
            p[0] = static_cast<unsigned char>(x * 13);
            p[1] = static_cast<unsigned char>(y * 29);
            p[2] = static_cast<unsigned char>((x + y) * 7);
            p[3] = static_cast<unsigned char>(255 - x * y);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// JPEGs are decoded by libjpeg directly: the pixels are the ones Qt's reader gives.
TEST(JpegFiles, DecodedAsQtsReaderShowsThem) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"colour", jpegOf(noisyColour(61, 47))},
        {"colour, progressive", jpegOf(noisyColour(61, 47), true)},
        {"grey", jpegOf(noisyColour(40, 24).convertToFormat(QImage::Format_Grayscale8))},
        {"CMYK", cmykJpeg(19, 11)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage qt = QImage::fromData(
            QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())), "jpeg");
        ASSERT_FALSE(qt.isNull());
        const Result<Picture> loaded = decodePicture(c.bytes, kBack);
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(*loaded, fromQImage(qt, kBack));
    }
}

TEST(JpegFiles, DataTheDecoderWarnsAboutIsRefused) {
    const std::string jpeg = jpegOf(noisyColour(64, 64));
    // Bytes that are no marker between the scan's end and the end marker.
    std::string extraneous = jpeg;
    extraneous.insert(jpeg.size() - 2, "\xFF\xD0\x12\x34", 4);
    const Result<Picture> loaded = decodePicture(extraneous, kBack);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().code, errc::InvalidPicture);
    EXPECT_NE(loaded.error().reason.find("Corrupt JPEG data"), std::string::npos)
        << loaded.error().reason;
}

// ---- memory

// A 35-byte GIF of a 16000 x 16000 screen, and files of other kinds of as many pixels, far smaller
// than their pictures: each loads into a picture of about 1 GB without a second one beside it.
// A grey JPEG of one level everywhere: its blocks are all alike, a few bytes each.
std::string flatGreyJpeg(int side, int level) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(side);
    info.image_height = static_cast<JDIMENSION>(side);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(side),
                                   static_cast<unsigned char>(level));
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

TEST(PictureMemory, ASmallFileOfAHugePictureCostsOnePicture) {
#if defined(TESSARYN_ASAN)
    GTEST_SKIP() << "the address sanitizer reserves its memory up front";
#endif
    const std::string gif16000 = gif({.screenWidth = 16000,
                                      .screenHeight = 16000,
                                      .background = 1,
                                      .globalTable = table(2),
                                      .width = 1,
                                      .height = 1,
                                      .indices = {0}});
    ASSERT_EQ(gif16000.size(), 35u);

    // Run-length data of one run, then the end of the bitmap: the rest stays at entry 0 (red).
    std::string bmp = rle8(2, std::string("\x02\x02\x00\x01", 4));
    for (const std::size_t at : {18u, 22u}) {
        bmp[at] = static_cast<char>(16000 & 0xFF);
        bmp[at + 1] = static_cast<char>(16000 >> 8);
    }

    // A 1-bit icon entry of 16000 x 16000 (64 MB of rows and mask).
    std::string iconEntry =
        iconHeader(16000, 16000, 1, 2) + std::string("\0\0\0\0\xFF\xFF\xFF\0", 8);
    iconEntry.resize(iconEntry.size() + std::size_t{2000} * 16000 * 2, '\0');
    const std::string icon = iconFile(iconEntry, 0, 0, 1);

    const std::string jpeg = flatGreyJpeg(16000, 100);

    const struct {
        const char* name;
        const std::string& bytes;
        Colour topLeft;
        Colour bottomLeft;
    } cases[] = {
        {"JPEG", jpeg, rgb(100, 100, 100), rgb(100, 100, 100)},
        {"GIF", gif16000, rgb(0, 255, 0), rgb(37, 254, 11)},  // the image, then the background
        {"run-length BMP", bmp, 0x0000FF, 0xFF0000},
        {"icon", icon, 0x000000, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Result<Picture> loaded = Error{errc::Generic, "not run"};
        {
            testing::AddressSpaceLimit limit(std::size_t{1200} << 20);
            if (!limit.active()) {
                GTEST_SKIP() << "the address space cannot be limited here";
            }
            loaded = decodePicture(c.bytes, kBack);
        }
        ASSERT_TRUE(loaded.ok()) << loaded.error().reason;
        EXPECT_EQ(loaded->width(), 16000);
        EXPECT_EQ(loaded->height(), 16000);
        EXPECT_EQ(loaded->pixel(0, 0), c.topLeft);
        EXPECT_EQ(loaded->pixel(0, 15999), c.bottomLeft);
    }
}

}  // namespace
}  // namespace tess
