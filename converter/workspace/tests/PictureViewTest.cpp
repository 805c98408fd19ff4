#include "workspace/PictureView.h"

#include <gtest/gtest.h>

namespace tess {
namespace {

TEST(InvertColorTest, InvertsEachChannelAndOverflowsForSystemColours) {
    struct Case {
        Colour in;
        std::optional<Colour> out;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF},
        {0xFFFFFF, 0x000000},
        {0x123456, 0xEDCBA9},
        {-1, 0x1000000},
        {-2130706432, 2147483647},  // the last value that still fits
        {-2130706433, std::nullopt},
        {kViewportBackColour, std::nullopt},
        {syscolour::Window, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(invertColor(c.in), c.out) << c.in;
    }
}

TEST(ViewportLayoutTest, BarsAndCornerFollowTheSystemBarThickness) {
    EXPECT_EQ(viewportLayout(kViewportWidth, kViewportHeight, 15),
              (ViewportLayout{{404, 0, 15, 186}, {0, 186, 404, 15}, {404, 186, 15, 15}}));
    EXPECT_EQ(viewportLayout(kViewportWidth, kViewportHeight, 17),
              (ViewportLayout{{402, 0, 17, 184}, {0, 184, 402, 17}, {402, 184, 17, 17}}));
}

// A view as the window holds it, with the design layout and bars in their start state.
ViewState view(int width, int height, int left = 0, int top = 0) {
    ViewState v;
    v.picture = {left, top, width, height};
    return v;
}

ScrollBarState disabledBar(int max = 32767) {
    ScrollBarState bar;
    bar.enabled = false;
    bar.max = max;
    return bar;
}

ScrollBarState enabledBar(int max, int value = 0) {
    return {true, max, kScrollLargeChange, kScrollSmallChange, value};
}

// A bar that was enabled and is disabled again keeps its Max and steps.
ScrollBarState disabledAgain(int max) {
    return {false, max, kScrollLargeChange, kScrollSmallChange, 0};
}

TEST(UpdateScrollBarsTest, SizesBarsFromThePictureAgainstTheViewport) {
    struct Case {
        const char* name;
        ViewState before;
        ViewRect picture;
        ScrollBarState hBar;
        ScrollBarState vBar;
    };
    ViewState scrolled = view(140, 500, 0, -200);
    scrolled.vBar = enabledBar(314, 200);
    ViewState shrunk = scrolled;
    shrunk.picture.height = 150;
    ViewState partlyShrunk = scrolled;
    partlyShrunk.vBar.value = 300;
    partlyShrunk.picture = {0, -300, 140, 250};
    ViewState kept = scrolled;
    kept.vBar.value = 50;
    kept.picture = {0, -50, 140, 400};
    ViewState wideScrolled = view(1000, 92, -500, 0);
    wideScrolled.hBar = enabledBar(596, 500);
    ViewState wideShrunk = wideScrolled;
    wideShrunk.picture.width = 300;
    ViewState thickBars = view(1000, 500);
    thickBars.vBarWidth = 17;
    thickBars.hBarHeight = 17;
    ViewState huge = view(140, 32767 + 186 + 1);
    huge.vBar = enabledBar(100);

    const Case cases[] = {
        {"sample 140x92", view(140, 92), {0, 0, 140, 92}, disabledBar(), disabledBar()},
        {"185 high fits", view(140, 185), {0, 0, 140, 185}, disabledBar(), disabledBar()},
        {"186 high does not fit", view(140, 186), {0, 0, 140, 186}, disabledBar(), enabledBar(0)},
        {"500 high", view(140, 500), {0, 0, 140, 500}, disabledBar(), enabledBar(314)},
        {"404 wide does not fit", view(404, 92), {0, 0, 404, 92}, enabledBar(0), disabledBar()},
        {"both bars", view(1000, 500), {0, 0, 1000, 500}, enabledBar(596), enabledBar(314)},
        {"system bars of 17", thickBars, {0, 0, 1000, 500}, enabledBar(598), enabledBar(316)},
        {"shrinks below the viewport while scrolled",
         shrunk,
         {0, 0, 140, 150},
         disabledBar(),
         disabledAgain(314)},
        {"shrinks but still scrolls",
         partlyShrunk,
         {0, -64, 140, 250},
         disabledBar(),
         enabledBar(64, 64)},
        {"position kept within the new Max",
         kept,
         {0, -50, 140, 400},
         disabledBar(),
         enabledBar(214, 50)},
        {"narrows below the viewport while scrolled",
         wideShrunk,
         {0, 0, 300, 92},
         disabledAgain(596),
         disabledBar()},
        {"Max beyond 16 bits stays", huge, {0, 0, 140, 32954}, disabledBar(), enabledBar(100)},
    };
    for (const Case& c : cases) {
        const ViewState after = updateScrollBars(c.before);
        EXPECT_EQ(after.picture, c.picture) << c.name;
        EXPECT_EQ(after.hBar, c.hBar) << c.name;
        EXPECT_EQ(after.vBar, c.vBar) << c.name;
    }
}

TEST(UpdateScrollBarsTest, AtTheLastValueTheLastRowSitsJustAboveTheHorizontalBar) {
    ViewState v = updateScrollBars(view(140, 500));
    v.vBar.value = v.vBar.max;
    v.picture.top = pictureOffset(v.vBar.value);
    EXPECT_EQ(v.picture.top, -314);
    const int lastRow = v.picture.top + v.picture.height - 1;
    EXPECT_EQ(lastRow + 1, viewportLayout(kViewportWidth, kViewportHeight, 15).hScroll.top);
    EXPECT_EQ(updateScrollBars(v), v);
}

TEST(DrawImageEdgesTest, LinesRunAlongTheRowAndColumnPastThePicture) {
    struct Case {
        const char* name;
        ViewRect picture;
        EdgeLine line3;
        EdgeLine line4;
    };
    const Case cases[] = {
        {"sample at the origin", {0, 0, 140, 92}, {0, 92, 141, 92}, {140, 0, 140, 93}},
        {"scrolled 50 to the left", {-50, 0, 140, 92}, {0, 92, 91, 92}, {90, 0, 90, 93}},
        {"500 high at the last value", {0, -314, 140, 500}, {0, 186, 141, 186}, {140, 0, 140, 187}},
    };
    for (const Case& c : cases) {
        const EdgeLines lines = drawImageEdges({}, kViewportBackColour, c.picture);
        EXPECT_EQ(lines.line3, c.line3) << c.name;
        EXPECT_EQ(lines.line4, c.line4) << c.name;
    }
}

TEST(DrawImageEdgesTest, ColourIsTheInverseOfAPlainBackAndKeptForASystemColour) {
    EdgeLines current;
    current.line3.borderColor = 0x0000FF;
    current.line4.borderColor = 0x00FF00;
    const EdgeLines onSystem = drawImageEdges(current, kViewportBackColour, {0, 0, 10, 10});
    EXPECT_EQ(onSystem.line3.borderColor, 0x0000FF);
    EXPECT_EQ(onSystem.line4.borderColor, 0x00FF00);
    EXPECT_EQ(drawImageEdges({}, kViewportBackColour, {}).line3.borderColor, kEdgeLineDesignColour);

    const EdgeLines onPlain = drawImageEdges(current, 0x123456, {0, 0, 10, 10});
    EXPECT_EQ(onPlain.line3.borderColor, 0xEDCBA9);
    EXPECT_EQ(onPlain.line4.borderColor, 0xEDCBA9);
}

}  // namespace
}  // namespace tess
