#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Picture.h"
#include "platform/PictureBox.h"
#include "platform/Ring.h"
#include "platform/SystemColours.h"
#include "platform/testing/AddressSpaceLimit.h"

namespace tess {
namespace {

constexpr Colour kInk = 0x000000;
constexpr Colour kPaper = 0xFFFFFF;

// '#' where the picture holds the ink, '.' elsewhere: the drawn pixels at a glance.
std::vector<std::string> inked(const Picture& p) {
    std::vector<std::string> rows;
    for (int y = 0; y < p.height(); ++y) {
        std::string r;
        for (int x = 0; x < p.width(); ++x) {
            r += p.pixel(x, y) == kInk ? '#' : '.';
        }
        rows.push_back(r);
    }
    return rows;
}

// A picture whose every pixel differs, so a stray write shows.
Picture numbered(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.setPixel(x, y, 0x10000 * (x + 1) + 0x100 * (y + 1) + 7);
        }
    }
    return p;
}

class SystemColourScheme : public ::testing::Test {
  protected:
    void SetUp() override { SystemColours::resetToDefaults(); }
    void TearDown() override { SystemColours::resetToDefaults(); }
};

TEST(PictureAccess, ReadsOutsideGiveInvalidColourAndWritesOutsideChangeNothing) {
    const struct {
        int x;
        int y;
    } outside[] = {{-1, 0},
                   {0, -1},
                   {3, 0},
                   {0, 2},
                   {3, 2},
                   {INT_MIN, 0},
                   {0, INT_MIN},
                   {INT_MAX, 0},
                   {0, INT_MAX},
                   {INT_MIN, INT_MIN},
                   {INT_MAX, INT_MAX},
                   {INT_MIN, 1}};
    const Picture original = numbered(3, 2);
    for (const auto& at : outside) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        Picture p = original;
        EXPECT_EQ(p.pixel(at.x, at.y), kInvalidColour);
        p.setPixel(at.x, at.y, 0x123456);
        EXPECT_EQ(p, original);
    }
    const Picture none;
    EXPECT_EQ(none.pixel(0, 0), kInvalidColour);
}

TEST(PictureAccess, DrawingFarOutsideNeverWritesInside) {
    const Picture original = numbered(4, 3);
    Picture p = original;
    p.line(INT_MIN, -5, INT_MAX, -5, kInk);
    p.line(-1, INT_MIN, -1, INT_MAX, kInk);
    p.line(INT_MAX, INT_MAX, INT_MIN, INT_MAX, kInk);
    p.box(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kInk);  // all four edges lie outside
    p.box(-3, -3, -1, 100, kInk);
    p.fillBox(INT_MIN, INT_MIN, -1, INT_MAX, kInk);
    p.fillBox(4, 0, INT_MAX, INT_MAX, kInk);
    p.circle(1, 1, INT_MAX, kInk);              // the ring lies far beyond the corners
    p.circle(INT_MIN, INT_MIN, INT_MAX, kInk);  // its square ends just before (0, 0)
    p.circle(INT_MAX, 1, 5, kInk);
    p.circle(1, 1, -1, kInk);
    EXPECT_EQ(p, original);
}

TEST(PictureAccess, LinesAcrossTheWholeCoordinateRangeHitTheExpectedPixels) {
    Picture diagonal(4, 3, kPaper);
    diagonal.line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kInk);
    EXPECT_EQ(inked(diagonal), (std::vector<std::string>{"#...", ".#..", "..#."}));

    // Halfway along, at x = 0, the line steps from row 0 to row 1.
    Picture shallow(4, 2, kPaper);
    shallow.line(INT_MIN, 0, INT_MAX, 1, kInk);
    EXPECT_EQ(inked(shallow), (std::vector<std::string>{"....", "####"}));

    Picture full(3, 2, kPaper);
    full.fillBox(INT_MAX, INT_MAX, INT_MIN, INT_MIN, kInk);
    EXPECT_EQ(inked(full), (std::vector<std::string>{"###", "###"}));
}

TEST_F(SystemColourScheme, StoredColourResolvesReferencesAndMasksOtherNonColours) {
    const struct {
        Colour given;
        Colour stored;
    } cases[] = {
        {0x123456, 0x123456},
        {kInvalidColour, 0xFFFFFF},  // a read outside, written back
        {-0x102030, 0xEFDFD0},       // a negated colour
        {0x1000005, 0x000005},       // a sum above 0xFFFFFF
        {syscolour::Window, 0xFFFFFF},
        {syscolour::ButtonFace, 0xC0C0C0},
        {syscolour::ButtonShadow, 0x808080},
        {syscolour::ButtonHighlight, 0xFFFFFF},
        {syscolour::ButtonText, 0x000000},
        {systemColour(0x99), 0x000000},                // no such system colour
        {static_cast<Colour>(0x80000105u), 0x000105},  // not a reference: masked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        Picture p(1, 1, 0x777777);
        p.setPixel(0, 0, c.given);
        EXPECT_EQ(p.pixel(0, 0), c.stored);
        p.fillBox(0, 0, 0, 0, 0x777777);
        p.line(0, 0, 1, 0, c.given);
        EXPECT_EQ(p.pixel(0, 0), c.stored);
    }
}

TEST_F(SystemColourScheme, ComputedValuesKeepTheirLow24BitsAndAreNeverReferences) {
    const struct {
        std::int64_t given;
        Colour stored;
    } cases[] = {
        {0x123456, 0x123456},
        {-1, 0xFFFFFF},
        {-0x123456, 0xEDCBAA},
        {0x1000005, 0x000005},
        {0x80000005, 0x000005},                    // would name the window colour as a reference
        {0x80000005LL + 0x100000000LL, 0x000005},  // beyond 32 bits
        {INT64_MAX, 0xFFFFFF},
        {INT64_MIN, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        Picture p(1, 1, 0x777777);
        p.setPixelValue(0, 0, c.given);
        EXPECT_EQ(p.pixel(0, 0), c.stored);
    }
    const Picture original = numbered(2, 2);
    Picture p = original;
    p.setPixelValue(-1, 0, 0);
    p.setPixelValue(2, 1, 0);
    p.setPixelValue(0, INT_MAX, 0);
    EXPECT_EQ(p, original);
}

TEST(PictureCoordinates, FractionsFallOnTheNearestPixelHalvesToEven) {
    const struct {
        double given;
        int pixel;
    } cases[] = {
        {0.0, 0}, {0.4, 0},     {0.5, 0},  {0.6, 1},   {1.5, 2},        {2.5, 2},
        {3.5, 4}, {320.5, 320}, {-0.5, 0}, {-1.5, -2}, {1e12, INT_MAX}, {-1e12, INT_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(Picture::pixelCoordinate(c.given), c.pixel);
    }
}

TEST_F(SystemColourScheme, ChangedSchemeChangesWhatReferencesDraw) {
    SystemColours::set(5, 0x00FF00);
    Picture p(2, 1, syscolour::Window);
    EXPECT_EQ(p.pixel(0, 0), 0x00FF00);
    SystemColours::set(5, static_cast<Colour>(0xFF0000FFu));  // only the colour bits are kept
    p.fill(syscolour::Window);
    EXPECT_EQ(p.pixel(1, 0), 0x0000FF);
    SystemColours::set(-1, 0x111111);
    SystemColours::set(SystemColours::kCount, 0x111111);
    SystemColours::resetToDefaults();
    p.fill(syscolour::Window);
    EXPECT_EQ(p.pixel(1, 0), 0xFFFFFF);
    EXPECT_EQ(SystemColours::resolve(systemColour(SystemColours::kCount - 1)), 0xC0C0C0);
}

TEST(PictureLine, DrawsFromTheStartUpToButNotIncludingTheEnd) {
    const struct {
        const char* name;
        int x1, y1, x2, y2;
        std::vector<std::string> expected;
    } cases[] = {
        {"right", 1, 1, 4, 1, {"......", ".###..", "......", "......"}},
        {"left", 4, 1, 1, 1, {"......", "..###.", "......", "......"}},
        {"down", 2, 0, 2, 3, {"..#...", "..#...", "..#...", "......"}},
        {"up", 2, 3, 2, 0, {"......", "..#...", "..#...", "..#..."}},
        {"zero length", 3, 2, 3, 2, {"......", "......", "......", "......"}},
        {"one step", 3, 2, 4, 2, {"......", "......", "...#..", "......"}},
        {"diagonal", 0, 0, 3, 3, {"#.....", ".#....", "..#...", "......"}},
        {"anti-diagonal", 3, 0, 0, 3, {"...#..", "..#...", ".#....", "......"}},
        // Equal distances to two rows go to the row nearer the start.
        {"shallow, ties", 0, 0, 4, 2, {"##....", "..##..", "......", "......"}},
        {"shallow, ties, reversed", 4, 2, 0, 0, {"......", ".##...", "...##.", "......"}},
        {"shallow", 0, 0, 5, 1, {"###...", "...##.", "......", "......"}},
        {"steep", 0, 0, 1, 3, {"#.....", "#.....", ".#....", "......"}},
        {"clipped at the left", -3, 1, 3, 1, {"......", "###...", "......", "......"}},
        {"clipped at both ends", -2, 3, 9, 3, {"......", "......", "......", "######"}},
        {"ends outside", 5, 0, 5, 7, {".....#", ".....#", ".....#", ".....#"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture p(6, 4, kPaper);
        p.line(c.x1, c.y1, c.x2, c.y2, kInk);
        EXPECT_EQ(inked(p), c.expected);
    }
}

TEST(PictureBoxes, OutlineAndFillCoverBothCornersInEitherOrder) {
    const struct {
        const char* name;
        bool filled;
        int x1, y1, x2, y2;
        std::vector<std::string> expected;
    } cases[] = {
        {"outline", false, 1, 1, 4, 3, {"......", ".####.", ".#..#.", ".####.", "......"}},
        {"outline, corners swapped",
         false,
         4,
         3,
         1,
         1,
         {"......", ".####.", ".#..#.", ".####.", "......"}},
        {"outline, other diagonal",
         false,
         4,
         1,
         1,
         3,
         {"......", ".####.", ".#..#.", ".####.", "......"}},
        {"outline of one pixel",
         false,
         2,
         2,
         2,
         2,
         {"......", "......", "..#...", "......", "......"}},
        {"outline clipped",
         false,
         -2,
         -2,
         2,
         2,
         {"..#...", "..#...", "###...", "......", "......"}},
        {"filled", true, 1, 1, 4, 3, {"......", ".####.", ".####.", ".####.", "......"}},
        {"filled, corners swapped",
         true,
         4,
         3,
         1,
         1,
         {"......", ".####.", ".####.", ".####.", "......"}},
        {"filled 2 x 2", true, 4, 3, 5, 4, {"......", "......", "......", "....##", "....##"}},
        {"filled clipped", true, 3, -5, 9, 1, {"...###", "...###", "......", "......", "......"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture p(6, 5, kPaper);
        if (c.filled) {
            p.fillBox(c.x1, c.y1, c.x2, c.y2, kInk);
        } else {
            p.box(c.x1, c.y1, c.x2, c.y2, kInk);
        }
        EXPECT_EQ(inked(p), c.expected);
    }
}

TEST(PictureBoxes, FilledBoxFromFourFourToFiveFiveSetsExactlyFourPixels) {
    Picture p(8, 8, kPaper);
    p.fillBox(4, 4, 5, 5, kInk);
    int count = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            count += p.pixel(x, y) == kInk ? 1 : 0;
        }
    }
    EXPECT_EQ(count, 4);
    EXPECT_EQ(p.pixel(4, 4), kInk);
    EXPECT_EQ(p.pixel(5, 4), kInk);
    EXPECT_EQ(p.pixel(4, 5), kInk);
    EXPECT_EQ(p.pixel(5, 5), kInk);
}

TEST(PictureCircle, MidpointOutlinePixels) {
    const struct {
        int size;
        int cx, cy, radius;
        std::vector<std::string> expected;
    } cases[] = {
        {3, 1, 1, 0, {"...", ".#.", "..."}},
        {3, 1, 1, 1, {".#.", "#.#", ".#."}},
        {5, 2, 2, 2, {".###.", "#...#", "#...#", "#...#", ".###."}},
        {11,
         5,
         5,
         5,
         {"...#####...", "..#.....#..", ".#.......#.", "#.........#", "#.........#", "#.........#",
          "#.........#", "#.........#", ".#.......#.", "..#.....#..", "...#####..."}},
        {3, 0, 0, 2, {"..#", "..#", "##."}},  // clipped at the top left
        {3, 1, 1, -1, {"...", "...", "..."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("radius " + std::to_string(c.radius));
        Picture p(c.size, c.size, kPaper);
        p.circle(c.cx, c.cy, c.radius, kInk);
        EXPECT_EQ(inked(p), c.expected);
    }
}

// A ring worked out once draws exactly what circle() draws, wholly inside, clipped at every edge
// or wholly outside, and lists each pixel once.
TEST(PictureCircle, PrecomputedRingDrawsTheSamePixels) {
    for (int radius = -1; radius <= 12; ++radius) {
        const Ring ring(radius);
        std::set<std::pair<int, int>> distinct;
        for (const Ring::Offset& o : ring.offsets())
            distinct.insert({o.dx, o.dy});
        EXPECT_EQ(distinct.size(), ring.offsets().size()) << radius;
        for (int cy = -14; cy <= 20; cy += 3) {
            for (int cx = -14; cx <= 22; cx += 3) {
                Picture byCircle = numbered(9, 7);
                Picture byRing = byCircle;
                byCircle.circle(cx, cy, radius, kInk);
                byRing.ring(cx, cy, ring, kInk);
                ASSERT_EQ(byRing, byCircle) << "radius " << radius << " at " << cx << "," << cy;
            }
        }
    }
    EXPECT_TRUE(Ring(-1).offsets().empty());
    EXPECT_EQ(Ring(0).offsets(), (std::vector<Ring::Offset>{{0, 0}}));
    EXPECT_EQ(Ring(1).offsets(), (std::vector<Ring::Offset>{{0, -1}, {-1, 0}, {1, 0}, {0, 1}}));
}

TEST(PictureSize, CreateAndResizeRefuseWhatCannotBeHeld) {
    const struct {
        int w;
        int h;
        int code;
    } refused[] = {
        {-1, 5, errc::Generic},
        {5, INT_MIN, errc::Generic},
        {Picture::kMaxSide + 1, 1, errc::OutOfMemory},
        {1, INT_MAX, errc::OutOfMemory},
        {Picture::kMaxSide, Picture::kMaxSide, errc::OutOfMemory},  // over the pixel cap
    };
    const Picture original = numbered(3, 2);
    for (const auto& r : refused) {
        SCOPED_TRACE(std::to_string(r.w) + " x " + std::to_string(r.h));
        const Result<Picture> made = Picture::create(r.w, r.h);
        ASSERT_FALSE(made.ok());
        EXPECT_EQ(made.error().code, r.code);
        EXPECT_FALSE(made.error().reason.empty());

        Picture p = original;
        const Status s = p.resize(r.w, r.h, kInk);
        ASSERT_FALSE(s.ok());
        EXPECT_EQ(s.error().code, r.code);
        EXPECT_EQ(p, original);
    }
    const Result<Picture> empty = Picture::create(0, 7);
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty->width(), 0);
    EXPECT_EQ(empty->height(), 7);
    EXPECT_TRUE(empty->empty());
    const Result<Picture> filled = Picture::create(2, 1, syscolour::ButtonFace);
    ASSERT_TRUE(filled.ok());
    EXPECT_EQ(filled->pixel(1, 0), 0xC0C0C0);
}

TEST(PictureSize, ResizeKeepsTheOverlapAndFillsTheAddedArea) {
    const Picture original = numbered(3, 2);
    Picture grown = original;
    ASSERT_TRUE(grown.resize(4, 3, 0x0000AA).ok());
    ASSERT_EQ(grown.width(), 4);
    ASSERT_EQ(grown.height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const Colour want = x < 3 && y < 2 ? original.pixel(x, y) : 0x0000AA;
            EXPECT_EQ(grown.pixel(x, y), want) << x << "," << y;
        }
    }
    Picture shrunk = original;
    ASSERT_TRUE(shrunk.resize(2, 1, 0x0000AA).ok());
    EXPECT_EQ(shrunk.width(), 2);
    EXPECT_EQ(shrunk.height(), 1);
    EXPECT_EQ(shrunk.pixel(1, 0), original.pixel(1, 0));
    EXPECT_EQ(shrunk.pixel(0, 1), kInvalidColour);

    Picture emptied = original;
    ASSERT_TRUE(emptied.resize(0, 0, 0).ok());
    ASSERT_TRUE(emptied.resize(1, 1, 0x0000AA).ok());
    EXPECT_EQ(emptied.pixel(0, 0), 0x0000AA);
}

TEST_F(SystemColourScheme, PictureBoxSizeAddsTheResolvedBackColour) {
    PictureBox box;  // back colour: the button face
    ASSERT_TRUE(box.setSize(2, 1).ok());
    EXPECT_EQ(box.point(1, 0), 0xC0C0C0);
    box.pset(0, 0, 0x123456);
    SystemColours::set(15, 0x00FF00);
    ASSERT_TRUE(box.setWidth(3).ok());
    ASSERT_TRUE(box.setHeight(2).ok());
    EXPECT_EQ(box.point(0, 0), 0x123456);  // the overlap is kept
    EXPECT_EQ(box.point(1, 0), 0xC0C0C0);
    EXPECT_EQ(box.point(2, 0), 0x00FF00);
    EXPECT_EQ(box.point(0, 1), 0x00FF00);

    const unsigned before = box.revision();
    EXPECT_FALSE(box.setSize(-1, 2).ok());
    EXPECT_EQ(box.width(), 3);
    EXPECT_EQ(box.point(0, 0), 0x123456);
    EXPECT_EQ(box.revision(), before);
}

TEST_F(SystemColourScheme, PictureBoxPictureAndImageDiffer) {
    PictureBox box(0x000000);
    const Picture assigned = numbered(3, 2);
    box.setPicture(assigned);
    EXPECT_EQ(box.width(), 3);
    EXPECT_EQ(box.height(), 2);
    EXPECT_EQ(box.image(), assigned);
    ASSERT_TRUE(box.picture().has_value());

    // Drawing changes the surface (image) but not the background picture.
    box.pset(0, 0, 0xABCDEF);
    EXPECT_EQ(box.image().pixel(0, 0), 0xABCDEF);
    EXPECT_EQ(box.picture()->pixel(0, 0), assigned.pixel(0, 0));
    EXPECT_EQ(&box.pictureOrImage(), &*box.picture());

    // Committing the drawn surface as the picture, as the effects do.
    box.setPicture(box.image());
    EXPECT_EQ(box.picture()->pixel(0, 0), 0xABCDEF);

    // Assigning a picture of another size takes its size and erases what was drawn.
    box.pset(1, 1, 0x111111);
    box.setPicture(Picture(1, 4, 0x222222));
    EXPECT_EQ(box.width(), 1);
    EXPECT_EQ(box.height(), 4);
    EXPECT_EQ(box.point(0, 3), 0x222222);

    box.setPicture(std::nullopt);
    EXPECT_FALSE(box.picture().has_value());
    EXPECT_EQ(box.width(), 1);
    EXPECT_EQ(box.height(), 4);
    EXPECT_EQ(box.point(0, 3), 0x000000);
    EXPECT_EQ(&box.pictureOrImage(), &box.surface());
}

TEST_F(SystemColourScheme, PictureBoxClsPaintsBackColourThenThePicture) {
    PictureBox box(syscolour::Window);
    box.setPicture(numbered(2, 2));
    ASSERT_TRUE(box.setSize(3, 3).ok());
    box.surface().fillBox(0, 0, 2, 2, 0x0000FF);
    const unsigned before = box.revision();
    box.cls();
    EXPECT_GT(box.revision(), before);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const Colour want = x < 2 && y < 2 ? box.picture()->pixel(x, y) : 0xFFFFFF;
            EXPECT_EQ(box.point(x, y), want) << x << "," << y;
        }
    }

    // Without a picture, cls leaves the back colour only; a picture larger than the surface is
    // cut at the surface's edge.
    PictureBox scratch(syscolour::ButtonFace);
    ASSERT_TRUE(scratch.setSize(2, 1).ok());
    scratch.pset(0, 0, 0);
    scratch.cls();
    EXPECT_EQ(scratch.point(0, 0), 0xC0C0C0);
    scratch.setPicture(numbered(4, 4));
    ASSERT_TRUE(scratch.setSize(2, 1).ok());
    scratch.cls();
    EXPECT_EQ(scratch.width(), 2);
    EXPECT_EQ(scratch.point(1, 0), scratch.picture()->pixel(1, 0));
}

// A picture made again for the next command keeps its memory where it is large enough, so no
// fresh memory has to be cleared by the system for it.
TEST(PictureReuse, AssignGivesTheSizeAndFillInTheMemoryItHas) {
    struct Case {
        int width;
        int height;
        bool sameMemory;
    };
    const Case cases[] = {
        {40, 30, true}, {20, 10, true}, {1, 1, true}, {41, 30, false}, {0, 5, true}};
    for (const Case& c : cases) {
        Picture p = numbered(40, 30);
        const std::uint32_t* before = p.row(0);
        ASSERT_TRUE(p.assign(c.width, c.height, 0x123456).ok());
        EXPECT_EQ(p, Picture(c.width, c.height, 0x123456)) << c.width << "x" << c.height;
        if (c.sameMemory && !p.empty()) {
            EXPECT_EQ(p.row(0), before) << c.width << "x" << c.height;
        }
        ASSERT_TRUE(p.assignForOverwrite(c.width, c.height).ok());
        EXPECT_EQ(p.width(), c.width);
        EXPECT_EQ(p.height(), c.height);
    }
    // A system colour is resolved as everywhere else.
    Picture p(2, 2);
    ASSERT_TRUE(p.assign(2, 2, syscolour::Window).ok());
    EXPECT_EQ(p, Picture(2, 2, syscolour::Window));
}

TEST(PictureReuse, AssignRefusesWhatCreateRefusesAndKeepsThePicture) {
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{
             {-1, 4}, {Picture::kMaxSide + 1, 1}, {Picture::kMaxSide, Picture::kMaxSide}}) {
        Picture p = numbered(6, 5);
        EXPECT_FALSE(p.assign(width, height, kPaper).ok()) << width << "x" << height;
        EXPECT_FALSE(p.assignForOverwrite(width, height).ok()) << width << "x" << height;
        EXPECT_EQ(p, numbered(6, 5)) << width << "x" << height;
    }
}

TEST(PictureReuse, LargePicturesAreFilledAndCopiedWhole) {
    // Above a million pixels the rows are filled and copied in bands on every core.
    Picture p = numbered(40, 30);
    ASSERT_TRUE(p.assign(1500, 1001, 0x123456).ok());
    EXPECT_EQ(p, Picture(1500, 1001, 0x123456));

    const Picture source = numbered(1300, 977);
    struct Case {
        int width, height;
        bool sameMemory;
    };
    // Smaller and equal pictures are copied in the memory they have; a larger one gets new memory.
    for (const Case& c : {Case{1300, 977, true}, Case{2000, 1000, true}, Case{10, 10, false}}) {
        Picture copy = numbered(c.width, c.height);
        const std::uint32_t* before = copy.row(0);
        ASSERT_TRUE(copy.copyFrom(source).ok());
        EXPECT_EQ(copy, source) << c.width << "x" << c.height;
        EXPECT_EQ(copy.row(0) == before, c.sameMemory) << c.width << "x" << c.height;
    }
    Picture self = numbered(20, 10);
    ASSERT_TRUE(self.copyFrom(self).ok());
    EXPECT_EQ(self, numbered(20, 10));
    Picture empty;
    ASSERT_TRUE(self.copyFrom(empty).ok());
    EXPECT_TRUE(self.empty());
}

TEST(PictureReuse, ACopyWithoutTheMemoryLeavesThePictureAsItWas) {
    // Above the 64 MiB a thread's malloc arena may still have reserved, so the copy needs a
    // mapping of its own.
    const Picture large(5000, 4000, 0x123456);
    Picture small = numbered(6, 5);
    testing::AddressSpaceLimit limit(16u << 20);
    if (!limit.active())
        GTEST_SKIP() << "no address-space limit here";
    const Status copied = small.copyFrom(large);
    ASSERT_FALSE(copied.ok());
    EXPECT_EQ(small, numbered(6, 5));
}

TEST(PictureReuse, ExchangingThePictureGivesTheOldOneBack) {
    PictureBox box(kPaper);
    Picture next = numbered(5, 4);
    box.exchangePicture(next);  // nothing was assigned
    EXPECT_TRUE(next.empty());
    EXPECT_EQ(box.pictureOrImage(), numbered(5, 4));
    EXPECT_EQ(box.surface(), numbered(5, 4));

    Picture other(3, 2, kInk);
    const unsigned revision = box.revision();
    box.exchangePicture(other);
    EXPECT_EQ(other, numbered(5, 4));
    EXPECT_EQ(*box.picture(), Picture(3, 2, kInk));
    EXPECT_EQ(box.surface(), Picture(3, 2, kInk));
    EXPECT_NE(box.revision(), revision);
}

TEST(PictureReuse, TheDrawnSurfaceBecomesThePicture) {
    for (bool assigned : {false, true}) {
        PictureBox box(kPaper);
        if (assigned) {
            box.setPicture(Picture(4, 3, kPaper));
        } else {
            ASSERT_TRUE(box.setSize(4, 3).ok());
        }
        box.pset(1, 2, kInk);
        const unsigned revision = box.revision();
        box.assignImage();
        ASSERT_TRUE(box.picture().has_value()) << assigned;
        EXPECT_EQ(*box.picture(), box.surface()) << assigned;
        EXPECT_EQ(box.picture()->pixel(1, 2), kInk) << assigned;
        EXPECT_NE(box.revision(), revision) << assigned;
        // The surface stays a picture of its own.
        box.pset(0, 0, kInk);
        EXPECT_EQ(box.picture()->pixel(0, 0), kPaper) << assigned;
    }
}

}  // namespace
}  // namespace tess
