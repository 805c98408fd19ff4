#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "PixelMaps.h"
#include "effects/CircleEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Legend;
using testing::mapOf;
using testing::PixelMap;

constexpr Colour kBack = 0xFFFFFF;
constexpr Colour kPreviewBack = 0xC0C0C0;

// The picture layer's midpoint rings: radius 1 covers the four neighbours of the centre, not the
// centre. Around (0, 0) only the quarter inside shows.
TEST(CircleEffects, TargetsOnTenByTenDrawOneClippedGroup) {
    const Legend legend{{'#', 0x123456}, {'.', kBack}};
    const PixelMap expected{".#.#.#....", "#..#.#....", "..#..#....", "##..#.....", "...#......",
                            "###.......", "..........", "..........", "..........", ".........."};
    EffectRunner runner;
    const Picture source(10, 10, 0x123456);
    EXPECT_EQ(mapOf(runner.apply(entryNamed("Targets"), source), legend), expected);
}

// Circular on 5 x 5: groups at (0, 0), (0, 4), (4, 0) and (4, 4), drawn in that order, each a
// ring of radius 4 in its centre's colour; where rings cross, the later group's shows.
TEST(CircleEffects, OverlappingRingsShowTheLaterGroup) {
    Picture source(5, 5, 0x000000);
    const Legend legend{{'A', 0x0000A0}, {'B', 0x00B000}, {'C', 0xC00000},
                        {'D', 0xD0D0D0}, {'.', kBack},    {'p', kPreviewBack}};
    source.setPixel(0, 0, legend.at('A'));
    source.setPixel(0, 4, legend.at('B'));
    source.setPixel(4, 0, legend.at('C'));
    source.setPixel(4, 4, legend.at('D'));
    const PixelMap expected{"CB.DD", "CDDBA", ".D.B.", "DCCAB", "DA.CC"};
    EffectRunner runner;
    EXPECT_EQ(mapOf(runner.apply(entryNamed("Circular"), source), legend), expected);
    const PixelMap expectedPreview{"CBpDD", "CDDBA", "pDpBp", "DCCAB", "DApCC"};
    EXPECT_EQ(mapOf(runner.preview(entryNamed("Circular"), source), legend), expectedPreview);
}

// Where each family's groups sit and which radii they draw, seen through the pixels that only
// one ring of one group covers.
TEST(CircleEffects, GridStepsAndRadii) {
    const struct {
        const char* effect;
        int x;
        int y;
        bool drawn;
    } cases[] = {
        // Eyes: groups every 6 pixels, radii 1, 3, 5.
        {"Eyes", 7, 6, true},   // radius 1 of (6, 6)
        {"Eyes", 9, 6, true},   // radius 3
        {"Eyes", 6, 6, false},  // the centre itself
        {"Eyes", 8, 6, false},  // radius 2 is not drawn
        // X-Files: radii 1, 2, 4.
        {"X-Files", 8, 6, true},
        {"X-Files", 9, 6, false},
        {"X-Files", 10, 6, true},
        // CircleWorm: radii 2 and 4 only.
        {"CircleWorm", 7, 6, false},
        {"CircleWorm", 8, 6, true},
        {"CircleWorm", 10, 6, true},
        // Targets: a step of 11, so (6, 6) is no centre and (11, 11) is.
        {"Targets", 12, 11, true},
        {"Targets", 7, 6, false},
        {"Targets", 16, 11, true},
        // Circular: a step of 4, one ring of radius 4.
        {"Circular", 12, 8, true},
        {"Circular", 10, 8, false},  // no ring of radius 4 reaches it from a multiple of 4
    };
    EffectRunner runner;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.effect) + " at " + std::to_string(c.x) + "," +
                     std::to_string(c.y));
        // Only grid points far from the others: a black picture with the colour at the centre
        // under test would be lost among the neighbours' rings, so every pixel is that colour.
        const Picture result = runner.apply(entryNamed(c.effect), Picture(23, 23, 0x345678));
        EXPECT_EQ(result.pixel(c.x, c.y) == 0x345678, c.drawn);
    }
}

// The last grid column is the largest multiple of the step not above W - 1.
TEST(CircleEffects, LastColumnOfGroups) {
    EffectRunner runner;
    Picture source(100, 1, 0x000001);
    source.setPixel(99, 0, 0x0000FF);
    // Targets on 100 columns: a group at 99, whose radius-1 ring covers (98, 0).
    EXPECT_EQ(runner.apply(entryNamed("Targets"), source).pixel(98, 0), 0x0000FF);
    // On 99 columns the last group sits at 88 and nothing is drawn at 98 but the scratch colour.
    Picture narrower(99, 1, 0x000001);
    EXPECT_EQ(runner.apply(entryNamed("Targets"), narrower).pixel(98, 0), kBack);
    EXPECT_EQ(runner.apply(entryNamed("Targets"), narrower).pixel(93, 0), 0x000001);
}

// Colour of the source pixel (x, y): every sample tells where it was read.
Picture positions(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, x + 2048 * y);
    }
    return picture;
}

// 640 x 480: steps 32 and 24, 400 rings around (320, 240). Ring k (radius k) is the only one
// through (320 + k, 240) and takes the colour of sample k: column (k - 1) \ 20, row (k - 1) Mod 20.
TEST(Spiral, RingKTakesTheColourOfSampleK) {
    EffectRunner runner;
    const Picture result = runner.apply(entryNamed("Spiral"), positions(640, 480));
    const struct {
        int ring;
        int sampleX;
        int sampleY;
    } cases[] = {{1, 0, 0},   {2, 0, 24},      {20, 0, 456},
                 {21, 32, 0}, {300, 448, 456}, {319, 480, 432}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ring);
        EXPECT_EQ(result.pixel(320 + c.ring, 240), c.sampleX + 2048 * c.sampleY);
    }
    EXPECT_EQ(result.pixel(320, 240), kBack);  // no ring of radius 0
}

// 30 columns: samples at 0, 1.5, 3, ..., read at the nearest pixel with halves to even, so
// columns 0, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20. One row: one sample per column, rings
// of radius 1, 2, ... around (15, 0), ring k showing at (15 + k, 0).
TEST(Spiral, FractionalSamplesReadTheNearestPixelHalvesToEven) {
    EffectRunner runner;
    const Picture result = runner.apply(entryNamed("Spiral"), positions(30, 1));
    const int read[] = {0, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20};
    for (int k = 1; k <= 14; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(result.pixel(15 + k, 0), read[k - 1]);
    }
}

// A width of 641 centres the rings on column 320.5, which falls on 320 (halves to even), so
// ring 1 covers (321, 0) and (319, 0) but not (320, 0); 643 centres on 321.5, drawn at 322.
TEST(Spiral, HalfPixelCentreRoundsToEven) {
    EffectRunner runner;
    const Picture odd = runner.apply(entryNamed("Spiral"), Picture(641, 1, 0x000007));
    EXPECT_EQ(odd.pixel(319, 0), 0x000007);
    EXPECT_EQ(odd.pixel(320, 0), kBack);
    EXPECT_EQ(odd.pixel(321, 0), 0x000007);
    const Picture odder = runner.apply(entryNamed("Spiral"), Picture(643, 1, 0x000007));
    EXPECT_EQ(odder.pixel(322, 0), kBack);
}

}  // namespace
}  // namespace tess::fx
