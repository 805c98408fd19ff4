#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "workspace/Resample.h"

namespace tess {
namespace {

Picture fromRows(const std::vector<std::vector<Colour>>& rows) {
    Picture p(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            p.setPixel(static_cast<int>(x), static_cast<int>(y), rows[y][x]);
    }
    return p;
}

std::vector<Colour> rowOf(const Picture& p, int y) {
    std::vector<Colour> row;
    for (int x = 0; x < p.width(); ++x)
        row.push_back(p.pixel(x, y));
    return row;
}

Picture resampled(const Picture& source, int newW, int newH) {
    Picture target(newW, newH, 0x00FFFFFF);
    drawBilinear(source, target);
    return target;
}

std::vector<Colour> reds(std::initializer_list<int> values) {
    std::vector<Colour> out;
    for (int v : values)
        out.push_back(rgb(v, 0, 0));
    return out;
}

TEST(Bilinear, WorkedExamples) {
    struct Case {
        const char* what;
        Picture source;
        int newW, newH;
        int row;
        std::vector<Colour> expected;
    };
    const Case cases[] = {
        // 2.5 rounds to 2 and 7.5 to 8.
        {"two reds to four", fromRows({reds({0, 10})}), 4, 2, 0, reds({0, 2, 5, 8})},
        {"two reds to four, second row", fromRows({reds({0, 10})}), 4, 2, 1, reds({0, 2, 5, 8})},
        // The last source column is never reached.
        {"three reds to six", fromRows({reds({0, 90, 180})}), 6, 2, 0,
         reds({0, 30, 60, 90, 120, 150})},
        {"three reds to six, second row", fromRows({reds({0, 90, 180})}), 6, 2, 1,
         reds({0, 30, 60, 90, 120, 150})},
        {"four colours to two",
         fromRows({{rgb(0, 0, 0), rgb(10, 20, 30), rgb(200, 100, 50), rgb(255, 255, 255)}}),
         2,
         1,
         0,
         {rgb(0, 0, 0), rgb(105, 60, 40)}},
        // 87.5 rounds to 88 in the vertical pass, 59.5 to 60 and 78.5 to 78 in the horizontal one.
        {"two by two to four by four", fromRows({reds({0, 100}), reds({200, 50})}), 4, 4, 1,
         reds({50, 60, 69, 78})},
    };
    for (const Case& c : cases) {
        const Picture target = resampled(c.source, c.newW, c.newH);
        EXPECT_EQ(rowOf(target, c.row), c.expected) << c.what;
    }
}

TEST(Bilinear, TheReadOutsideAOnePixelSideNeverChangesAColour) {
    // One column: every target column is that column. One row: every target row is that row. The
    // colours outside (red 255, green 0, blue 255) would show in green and in red or blue.
    const Colour a = rgb(10, 200, 30);
    const Colour b = rgb(90, 40, 250);
    const Colour between = rgb(50, 120, 140);
    const Picture column = resampled(fromRows({{a}, {b}}), 5, 2);
    EXPECT_EQ(rowOf(column, 0), std::vector<Colour>(5, a));
    EXPECT_EQ(rowOf(column, 1), std::vector<Colour>(5, between));
    const Picture row = resampled(fromRows({{a, b}}), 2, 3);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(rowOf(row, y), (std::vector<Colour>{a, between})) << y;
    EXPECT_EQ(resampled(fromRows({{a}}), 7, 4), Picture(7, 4, a));
}

// The scheme as it reads most directly: a table one column and one row larger than the picture,
// filled with what a pixel read gives there (-1 outside), every target pixel from four cells.
Picture literalScheme(const Picture& src, int newW, int newH) {
    const int W = src.width();
    const int H = src.height();
    const auto ratioX = static_cast<float>(static_cast<double>(W - 1) / newW);
    const auto ratioY = static_cast<float>(static_cast<double>(H - 1) / newH);
    std::vector<std::vector<std::int32_t>> cell(static_cast<std::size_t>(W + 1),
                                                std::vector<std::int32_t>(H + 1));
    for (int c = 0; c <= W; ++c) {
        for (int r = 0; r <= H; ++r)
            cell[c][r] = src.pixel(c, r);
    }
    auto round = [](double v) { return static_cast<std::int32_t>(std::nearbyint(v)); };
    Picture out(newW, newH);
    for (int y = 0; y < newH; ++y) {
        const auto fy = static_cast<float>(y * ratioY);
        const auto iy = static_cast<std::int16_t>(std::floor(fy));
        const float dy = fy - iy;
        for (int x = 0; x < newW; ++x) {
            const auto fx = static_cast<float>(x * ratioX);
            const auto ix = static_cast<std::int16_t>(std::floor(fx));
            const float dx = fx - ix;
            const std::int32_t p[4] = {cell[ix][iy], cell[ix + 1][iy], cell[ix][iy + 1],
                                       cell[ix + 1][iy + 1]};
            std::int32_t channel[3];
            for (int k = 0; k < 3; ++k) {
                float v[4];
                for (int n = 0; n < 4; ++n) {
                    v[n] = k == 0   ? static_cast<float>(p[n] & 255)
                           : k == 1 ? static_cast<float>((p[n] / 256) & 255)
                                    : static_cast<float>((p[n] & 0xFF0000) / 65536);
                }
                const double d_y = dy;
                const double d_x = dx;
                const std::int32_t left = round((1.0 - d_y) * v[0] + v[2] * d_y);
                const std::int32_t right = round((1.0 - d_y) * v[1] + v[3] * d_y);
                const std::int32_t result = round((1.0 - d_x) * left + d_x * right);
                channel[k] = result < 0 ? 0 : (result > 255 ? 255 : result);
            }
            out.setPixel(x, y, channel[0] + 256 * channel[1] + 65536 * channel[2]);
        }
    }
    return out;
}

Picture noise(int width, int height, unsigned seed) {
    std::mt19937 generator(seed);
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            p.setPixel(x, y, static_cast<Colour>(generator() & 0xFFFFFF));
    }
    return p;
}

TEST(Bilinear, EverySizeGivesWhatTheTableOfTheWholePictureGives) {
    struct Case {
        int w, h, newW, newH;
    };
    const Case cases[] = {
        {321, 241, 160, 120},  // half
        {37, 23, 74, 46},      // double
        {50, 40, 7, 3},        // a large shrink, which skips source columns
        {13, 11, 200, 5},      // wide and flat
        {1, 9, 6, 17},         // one column
        {9, 1, 17, 6},         // one row
        {2, 2, 1, 1},
        {64, 48, 64, 48},       // the same size still samples short of the far edge
        {32767, 2, 16383, 1},   // the widest picture
        {640, 480, 1280, 960},  // drawn in bands of rows on every core
        {1500, 1100, 999, 1201},
    };
    for (const Case& c : cases) {
        const Picture source = noise(c.w, c.h, static_cast<unsigned>(c.w * 31 + c.h));
        const Picture expected = literalScheme(source, c.newW, c.newH);
        EXPECT_EQ(resampled(source, c.newW, c.newH), expected)
            << c.w << "x" << c.h << " to " << c.newW << "x" << c.newH;
        Picture portable(c.newW, c.newH);
        drawBilinear(source, portable, ResampleCode::Portable);
        EXPECT_EQ(portable, expected)
            << "portable " << c.w << "x" << c.h << " to " << c.newW << "x" << c.newH;
    }
}

TEST(Bilinear, ASourceWithoutPixelsGivesTheOutsideColourAndNoTargetDrawsNothing) {
    EXPECT_EQ(resampled(Picture(0, 0), 3, 2), Picture(3, 2, rgb(255, 0, 255)));
    Picture flat(0, 4, 0);
    drawBilinear(noise(5, 5, 1), flat);
    EXPECT_EQ(flat, Picture(0, 4, 0));
}

}  // namespace
}  // namespace tess
