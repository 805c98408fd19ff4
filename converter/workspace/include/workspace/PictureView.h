#pragma once

#include <optional>

#include "platform/Colour.h"

namespace tess {

// The viewport Picture1 as designed: inner size and scroll-bar thickness, in pixels.
inline constexpr int kViewportWidth = 419;
inline constexpr int kViewportHeight = 201;
inline constexpr int kDesignBarExtent = 15;
// Application workspace colour behind the picture, and the edge lines' design colour (highlight).
inline constexpr Colour kViewportBackColour = systemColour(12);
inline constexpr Colour kEdgeLineDesignColour = systemColour(13);
// Pixels per click in the track and per arrow click.
inline constexpr int kScrollLargeChange = 20;
inline constexpr int kScrollSmallChange = 10;

// InvertColor: 0xFFFFFF - c in 32-bit signed arithmetic. nullopt is the overflow, which every
// system colour reference (high bit set) gives.
std::optional<Colour> invertColor(Colour c);

struct ViewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ViewRect&) const = default;
};

// Where the bars and the corner box Picture2 sit inside the viewport, for a system scroll-bar
// thickness `barExtent` (the window reads it from the style).
struct ViewportLayout {
    ViewRect vScroll;  // VScroll1, along the right edge
    ViewRect hScroll;  // HScroll1, along the bottom edge
    ViewRect corner;   // Picture2, where the two bars meet
    bool operator==(const ViewportLayout&) const = default;
};
ViewportLayout viewportLayout(int innerWidth, int innerHeight, int barExtent);

struct ScrollBarState {
    bool enabled = true;
    int max = 32767;
    int largeChange = 1;
    int smallChange = 1;
    int value = 0;
    bool operator==(const ScrollBarState&) const = default;
};

// What UpdateScrollBars reads and writes: the viewport, the bars and the picture's rectangle
// (left and top are zero or negative while scrolled).
struct ViewState {
    int viewportWidth = kViewportWidth;    // Picture1.ScaleWidth
    int viewportHeight = kViewportHeight;  // Picture1.ScaleHeight
    int vBarWidth = kDesignBarExtent;      // VScroll1.Width
    int hBarHeight = kDesignBarExtent;     // HScroll1.Height
    ViewRect picture;                      // srcPic
    ScrollBarState hBar;                   // HScroll1
    ScrollBarState vBar;                   // VScroll1
    bool operator==(const ViewState&) const = default;
};

// UpdateScrollBars, vertical axis first. A bar whose picture fits is disabled and its axis goes
// back to 0; otherwise it is enabled with Max = picture length - available length. The result
// also carries what the bar's own change event then does: a value above the new Max comes down to
// Max and the picture follows it.
ViewState updateScrollBars(ViewState view);

// The picture's position for the bars' values (HScroll1_Change, VScroll1_Change).
inline int pictureOffset(int scrollValue) {
    return -scrollValue;
}

struct EdgeLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Colour borderColor = kEdgeLineDesignColour;
    bool operator==(const EdgeLine&) const = default;
};

struct EdgeLines {
    EdgeLine line3;  // bottom edge: the first row below the picture
    EdgeLine line4;  // right edge: the first column right of the picture
    bool operator==(const EdgeLines&) const = default;
};

// DrawImageEdges for the picture's rectangle. The colour becomes the inverse of the viewport's
// back colour; where that overflows (a system colour) the lines keep the colour they have.
EdgeLines drawImageEdges(const EdgeLines& current, Colour viewportBackColor,
                         const ViewRect& picture);

}  // namespace tess
