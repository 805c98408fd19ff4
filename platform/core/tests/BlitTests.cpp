#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/Blit.h"
#include "platform/Picture.h"

namespace tess {
namespace {

using Rows = std::vector<std::string>;

// Small pictures written as rows of digits: the digit is the pixel's colour value.
Picture digits(const Rows& rows) {
    Picture p(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            p.setPixel(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] - '0');
        }
    }
    return p;
}

Rows digitsOf(const Picture& p) {
    Rows rows;
    for (int y = 0; y < p.height(); ++y) {
        std::string r;
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            r += c >= 0 && c <= 9 ? static_cast<char>('0' + c) : '?';
        }
        rows.push_back(r);
    }
    return rows;
}

// Every pixel a different colour with all three components in use.
Picture distinct(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.setPixel(x, y, rgb(17 * x + 3, 29 * y + 5, 7 * (x + y) + 11));
        }
    }
    return p;
}

Picture mirroredLeftRight(const Picture& p) {
    Picture m(p.width(), p.height());
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            m.setPixel(p.width() - 1 - x, y, p.pixel(x, y));
        }
    }
    return m;
}

Picture mirroredTopBottom(const Picture& p) {
    Picture m(p.width(), p.height());
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            m.setPixel(x, p.height() - 1 - y, p.pixel(x, y));
        }
    }
    return m;
}

TEST(BitBlt, CopiesTheOverlapOfBothPictures) {
    const Picture src = digits({"123", "456"});
    const struct {
        const char* name;
        int dx, dy, w, h, sx, sy;
        Rows expected;
    } cases[] = {
        {"inside", 1, 1, 3, 2, 0, 0, {"0000", "0123", "0456"}},
        {"cut at the destination's right and bottom", 2, 2, 3, 2, 0, 0, {"0000", "0000", "0012"}},
        {"destination origin before the picture", -1, -1, 3, 2, 0, 0, {"5600", "0000", "0000"}},
        {"source origin before the picture", 0, 0, 3, 2, -1, 0, {"0120", "0450", "0000"}},
        {"source runs out", 0, 0, 3, 2, 2, 1, {"6000", "0000", "0000"}},
        {"part of the source", 3, 0, 1, 1, 1, 1, {"0005", "0000", "0000"}},
        {"block larger than both", 0, 0, INT_MAX, INT_MAX, 0, 0, {"1230", "4560", "0000"}},
        {"zero width", 0, 0, 0, 2, 0, 0, {"0000", "0000", "0000"}},
        {"negative height", 0, 0, 3, -2, 0, 0, {"0000", "0000", "0000"}},
        {"far destination", INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, {"0000", "0000", "0000"}},
        {"far origins",
         INT_MIN,
         INT_MIN,
         INT_MAX,
         INT_MAX,
         INT_MIN,
         INT_MIN,
         {"0000", "0000", "0000"}},
        {"far source", 0, 0, 3, 2, INT_MAX, INT_MIN, {"0000", "0000", "0000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture dst = digits({"0000", "0000", "0000"});
        bitBlt(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, RasterOp::SrcCopy);
        EXPECT_EQ(digitsOf(dst), c.expected);
    }
}

TEST(BitBlt, OverlappingCopyWithinOnePictureReadsTheOldPixels) {
    Picture p = digits({"1234", "5678"});
    bitBlt(p, 1, 0, 3, 2, p, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(digitsOf(p), (Rows{"1123", "5567"}));
    bitBlt(p, 0, 0, 3, 1, p, 1, 1, RasterOp::SrcCopy);
    EXPECT_EQ(digitsOf(p), (Rows{"5673", "5567"}));
}

TEST(BitBlt, SrcInvertIsTheExclusiveOrOfSourceAndDestination) {
    const Picture src = distinct(3, 2);
    Picture white(3, 2, 0xFFFFFF);
    bitBlt(white, 0, 0, 3, 2, src, 0, 0, RasterOp::SrcInvert);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const Colour s = src.pixel(x, y);
            EXPECT_EQ(white.pixel(x, y), rgb(255 - redOf(s), 255 - greenOf(s), 255 - blueOf(s)));
        }
    }

    Picture one(1, 1, 0xFFFFFF);
    bitBlt(one, 0, 0, 1, 1, Picture(1, 1, rgb(10, 200, 30)), 0, 0, RasterOp::SrcInvert);
    EXPECT_EQ(one.pixel(0, 0), rgb(245, 55, 225));

    // Against a coloured destination the result is not the negative.
    Picture blue(2, 1, 0x0000FF);
    bitBlt(blue, 1, 0, 5, 5, Picture(1, 1, 0x00FF0F), 0, 0, RasterOp::SrcInvert);
    EXPECT_EQ(blue.pixel(0, 0), 0x0000FF);  // outside the block
    EXPECT_EQ(blue.pixel(1, 0), 0x00FFF0);

    // Twice gives back the start.
    Picture twice = src;
    const Picture key(3, 2, 0x5A5A5A);
    bitBlt(twice, 0, 0, 3, 2, key, 0, 0, RasterOp::SrcInvert);
    EXPECT_NE(twice, src);
    bitBlt(twice, 0, 0, 3, 2, key, 0, 0, RasterOp::SrcInvert);
    EXPECT_EQ(twice, src);
}

TEST(StretchBlt, NegativeDestinationExtentsGiveExactMirrors) {
    const struct {
        int w;
        int h;
    } sizes[] = {{5, 3}, {4, 4}, {1, 3}, {3, 1}, {1, 1}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
        const int w = s.w;
        const int h = s.h;
        const Picture src = distinct(w, h);

        Picture flipH(w, h, 0);
        stretchBlt(flipH, w - 1, 0, -w, h, src, 0, 0, w, h, RasterOp::SrcCopy);
        EXPECT_EQ(flipH, mirroredLeftRight(src));

        Picture flipV(w, h, 0);
        stretchBlt(flipV, 0, h - 1, w, -h, src, 0, 0, w, h, RasterOp::SrcCopy);
        EXPECT_EQ(flipV, mirroredTopBottom(src));

        Picture back(w, h, 0);
        stretchBlt(back, w - 1, 0, -w, h, flipH, 0, 0, w, h, RasterOp::SrcCopy);
        EXPECT_EQ(back, src);

        // A negative source extent mirrors the same way.
        Picture fromEnd(w, h, 0);
        stretchBlt(fromEnd, 0, 0, w, h, src, w - 1, 0, -w, h, RasterOp::SrcCopy);
        EXPECT_EQ(fromEnd, mirroredLeftRight(src));
    }
    const Picture one = distinct(1, 3);
    Picture same(1, 3, 0);
    stretchBlt(same, 0, 0, 1, 3, one, 0, 0, 1, 3, RasterOp::SrcCopy);
    EXPECT_EQ(same, one);
}

TEST(StretchBlt, HalvingInBlackOnWhiteAndsTheMergedPixels) {
    Picture src(4, 2);
    const Colour values[2][4] = {{0xF0F0F0, 0x3C3C3C, 0x123456, 0xFFFFFF},
                                 {0xFFFFFF, 0x0FFFFF, 0xFF00FF, 0xFFFF00}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            src.setPixel(x, y, values[y][x]);
        }
    }

    Picture half(2, 1, 0xABABAB);
    stretchBlt(half, 0, 0, 2, 1, src, 0, 0, 4, 2, RasterOp::SrcCopy);
    EXPECT_EQ(half.pixel(0, 0), 0xF0F0F0 & 0x3C3C3C & 0xFFFFFF & 0x0FFFFF);
    EXPECT_EQ(half.pixel(1, 0), 0x123456 & 0xFFFFFF & 0xFF00FF & 0xFFFF00);

    Picture narrow(2, 2, 0xABABAB);
    stretchBlt(narrow, 0, 0, 2, 2, src, 0, 0, 4, 2, RasterOp::SrcCopy);
    EXPECT_EQ(narrow.pixel(0, 0), 0xF0F0F0 & 0x3C3C3C);
    EXPECT_EQ(narrow.pixel(1, 0), 0x123456 & 0xFFFFFF);
    EXPECT_EQ(narrow.pixel(0, 1), 0xFFFFFF & 0x0FFFFF);
    EXPECT_EQ(narrow.pixel(1, 1), 0xFF00FF & 0xFFFF00);

    // ColorOnColor keeps the first pixel of each pair.
    Picture dropped(2, 1, 0xABABAB);
    stretchBlt(dropped, 0, 0, 2, 1, src, 0, 0, 4, 2, RasterOp::SrcCopy, StretchMode::ColorOnColor);
    EXPECT_EQ(dropped.pixel(0, 0), 0xF0F0F0);
    EXPECT_EQ(dropped.pixel(1, 0), 0x123456);
}

TEST(StretchBlt, SamplingMapsEachDestinationPixelFromItsLeftEdge) {
    const struct {
        const char* name;
        Rows src;
        int dw, dh;
        StretchMode mode;
        Rows expected;
    } cases[] = {
        {"double", {"12", "34"}, 4, 4, StretchMode::BlackOnWhite, {"1122", "1122", "3344", "3344"}},
        {"two to three", {"12"}, 3, 1, StretchMode::BlackOnWhite, {"112"}},
        // 3 -> 2: the first destination pixel covers source 0, the second sources 1 and 2.
        {"three to two, merged", {"763"}, 2, 1, StretchMode::BlackOnWhite, {"72"}},
        {"three to two, dropped", {"763"}, 2, 1, StretchMode::ColorOnColor, {"76"}},
        {"shrink one axis, grow the other",
         {"75", "33"},
         1,
         4,
         StretchMode::BlackOnWhite,
         {"5", "5", "3", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture src = digits(c.src);
        Picture dst(c.dw, c.dh, 9);
        stretchBlt(dst, 0, 0, c.dw, c.dh, src, 0, 0, src.width(), src.height(), RasterOp::SrcCopy,
                   c.mode);
        EXPECT_EQ(digitsOf(dst), c.expected);
    }
}

// A stretch of the whole of `src` onto the whole of a destination of w x h, one pixel at a time
// from the map: destination step k takes source steps [k * s / d, (k + 1) * s / d) when the axis
// shrinks and the pixels merge, else the one step k * s / d.
Picture stretchedByTheMap(const Picture& src, int w, int h, StretchMode mode) {
    auto run = [&](int k, int d, int s) {
        const long long first = static_cast<long long>(k) * s / d;
        long long end = first + 1;
        if (mode == StretchMode::BlackOnWhite && s > d)
            end = std::max(end, static_cast<long long>(k + 1) * s / d);
        return std::pair<int, int>(static_cast<int>(first), static_cast<int>(end));
    };
    Picture out(w, h);
    for (int y = 0; y < h; ++y) {
        const auto [y0, y1] = run(y, h, src.height());
        for (int x = 0; x < w; ++x) {
            const auto [x0, x1] = run(x, w, src.width());
            Colour v = 0xFFFFFF;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx)
                    v &= src.pixel(sx, sy);
            }
            out.setPixel(x, y, v);
        }
    }
    return out;
}

// Pictures of a million pixels and more are drawn in bands of rows on every core; the bands must
// meet exactly.
TEST(StretchBlt, LargePicturesAreDrawnAsTheMapSays) {
    const Picture src = distinct(1237, 911);
    const struct {
        int w, h;
        StretchMode mode;
    } cases[] = {
        {2474, 1822, StretchMode::BlackOnWhite},  // double size
        {1900, 1300, StretchMode::BlackOnWhite},  // an odd enlargement
        {1900, 600, StretchMode::BlackOnWhite},   // wider and flatter: rows merge
        {1100, 1000, StretchMode::BlackOnWhite},  // narrower: columns merge
        {1100, 1000, StretchMode::ColorOnColor},  // narrower: columns dropped
    };
    for (const auto& c : cases) {
        Picture dst(c.w, c.h, 0xABABAB);
        stretchBlt(dst, 0, 0, c.w, c.h, src, 0, 0, src.width(), src.height(), RasterOp::SrcCopy,
                   c.mode);
        EXPECT_EQ(dst, stretchedByTheMap(src, c.w, c.h, c.mode)) << c.w << "x" << c.h;
    }

    // A mirror within one picture, and an exclusive-or onto what is there.
    Picture self = distinct(1237, 911);
    stretchBlt(self, 1236, 0, -1237, 911, self, 0, 0, 1237, 911, RasterOp::SrcCopy);
    EXPECT_EQ(self, mirroredLeftRight(src));
    Picture xored = distinct(1237, 911);
    stretchBlt(xored, 0, 0, 1237, 911, src, 0, 0, 1237, 911, RasterOp::SrcInvert);
    EXPECT_EQ(xored, Picture(1237, 911, 0));
}

TEST(StretchBlt, ClipsToBothPicturesAndIgnoresEmptyExtents) {
    const Picture src = digits({"1234"});
    const struct {
        const char* name;
        int dx, dy, dw, dh, sx, sy, sw, sh;
        Rows expected;
    } cases[] = {
        {"destination hangs over the left", -1, 0, 4, 1, 0, 0, 4, 1, {"2340"}},
        {"destination hangs over the right", 2, 0, 4, 1, 0, 0, 4, 1, {"0012"}},
        {"mirror hanging over the left", 1, 0, -4, 1, 0, 0, 4, 1, {"2100"}},
        {"source hangs over its right", 0, 0, 4, 1, 2, 0, 4, 1, {"3400"}},
        {"zero destination width", 0, 0, 0, 1, 0, 0, 4, 1, {"0000"}},
        {"zero source height", 0, 0, 4, 1, 0, 0, 4, 0, {"0000"}},
        {"extreme values",
         INT_MIN,
         INT_MIN,
         INT_MIN,
         INT_MIN,
         INT_MAX,
         INT_MAX,
         INT_MIN,
         INT_MIN,
         {"0000"}},
        // The last four of 2^31 mirrored columns land on the picture, all from source pixel 3.
        {"extreme mirror", INT_MAX, 0, INT_MIN, 1, 0, 0, 4, 1, {"4444"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture dst = digits({"0000"});
        stretchBlt(dst, c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh, RasterOp::SrcCopy);
        EXPECT_EQ(digitsOf(dst), c.expected);
    }

    Picture anded = digits({"7777"});
    stretchBlt(anded, 0, 0, 2, 1, digits({"7563"}), 0, 0, INT_MAX, 1, RasterOp::SrcCopy);
    // The first pixel covers the whole source (7 & 5 & 6 & 3 = 0); the second maps beyond it.
    EXPECT_EQ(digitsOf(anded), (Rows{"0777"}));
}

TEST(StretchBlt, SrcInvertCombinesWithTheDestination) {
    Picture dst(2, 1, 0xFFFFFF);
    stretchBlt(dst, 1, 0, -2, 1, digits({"12"}), 0, 0, 2, 1, RasterOp::SrcInvert);
    EXPECT_EQ(dst.pixel(0, 0), 0xFFFFFF ^ 2);
    EXPECT_EQ(dst.pixel(1, 0), 0xFFFFFF ^ 1);
}

}  // namespace
}  // namespace tess
