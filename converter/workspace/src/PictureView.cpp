#include "workspace/PictureView.h"

#include <cstdint>
#include <limits>

#include "platform/Runtime.h"

namespace tess {

std::optional<Colour> invertColor(Colour c) {
    const std::int64_t inverted = std::int64_t{0xFFFFFF} - c;
    if (inverted < std::numeric_limits<Colour>::min() ||
        inverted > std::numeric_limits<Colour>::max()) {
        return std::nullopt;
    }
    return static_cast<Colour>(inverted);
}

ViewportLayout viewportLayout(int innerWidth, int innerHeight, int barExtent) {
    ViewportLayout layout;
    layout.vScroll = {innerWidth - barExtent, 0, barExtent, innerHeight - barExtent};
    layout.hScroll = {0, innerHeight - barExtent, innerWidth - barExtent, barExtent};
    layout.corner = {layout.hScroll.width, layout.vScroll.height, barExtent, barExtent};
    return layout;
}

namespace {

// One axis of UpdateScrollBars. `avail` is the viewport length less the other bar, whether or not
// that bar is shown; a picture exactly that long does not fit.
void updateAxis(int avail, int length, int& offset, ScrollBarState& bar) {
    if (avail > length) {
        bar.enabled = false;
        offset = 0;
        bar.value = 0;
        return;
    }
    bar.enabled = true;
    const int max = length - avail;
    if (max != bar.max) {
        // A length beyond the bar's 16-bit range leaves Max as it was.
        if (auto max16 = rt::toInt16(max)) {
            bar.max = *max16;
        }
    }
    bar.largeChange = kScrollLargeChange;
    bar.smallChange = kScrollSmallChange;
    // The bar itself keeps its value within 0..Max and reports the change, so the picture follows.
    if (bar.value > bar.max || bar.value < 0) {
        bar.value = bar.value < 0 ? 0 : bar.max;
        offset = pictureOffset(bar.value);
    }
}

}  // namespace

ViewState updateScrollBars(ViewState view) {
    updateAxis(view.viewportHeight - view.hBarHeight, view.picture.height, view.picture.top,
               view.vBar);
    updateAxis(view.viewportWidth - view.vBarWidth, view.picture.width, view.picture.left,
               view.hBar);
    return view;
}

EdgeLines drawImageEdges(const EdgeLines& current, Colour viewportBackColor,
                         const ViewRect& picture) {
    EdgeLines lines = current;
    if (auto colour = invertColor(viewportBackColor)) {
        lines.line3.borderColor = *colour;
        lines.line4.borderColor = *colour;
    }
    const int right = picture.left + picture.width;
    const int bottom = picture.top + picture.height;
    lines.line3.x1 = 0;
    lines.line3.x2 = right + 1;
    lines.line3.y1 = bottom;
    lines.line3.y2 = bottom;
    lines.line4.y1 = 0;
    lines.line4.y2 = bottom + 1;
    lines.line4.x1 = right;
    lines.line4.x2 = right;
    return lines;
}

}  // namespace tess
