#include "shell/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/Runtime.h"

namespace tess {

std::optional<int> storedWholeNumber(std::string_view text) {
    const std::optional<double> number = rt::toNumber(text);
    if (!number)
        return std::nullopt;
    const std::optional<std::int32_t> whole = rt::toInt32(*number);
    if (!whole)
        return std::nullopt;
    return *whole;
}

bool screenShrank(int width, int height, int storedWidth, int storedHeight) {
    return width < storedWidth || height < storedHeight;
}

namespace {

bool overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// How far a rectangle lies from a screen along both axes, squared.
std::int64_t gap(const ScreenRect& w, const ScreenRect& s) {
    const std::int64_t dx = std::max<std::int64_t>(
        {0, std::int64_t{s.left} - (std::int64_t{w.left} + w.width),
         std::int64_t{w.left} - (std::int64_t{s.left} + s.width)});
    const std::int64_t dy = std::max<std::int64_t>(
        {0, std::int64_t{s.top} - (std::int64_t{w.top} + w.height),
         std::int64_t{w.top} - (std::int64_t{s.top} + s.height)});
    return dx * dx + dy * dy;
}

int clampInto(int position, int extent, int start, int length) {
    // A window larger than the screen keeps its top-left corner on it.
    const int last = std::max(start, start + length - extent);
    return std::clamp(position, start, last);
}

}  // namespace

ScreenRect ontoNearestScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    if (screens.empty())
        return window;
    for (const ScreenRect& screen : screens) {
        if (overlaps(window, screen))
            return window;
    }
    const ScreenRect* nearest = &screens.front();
    for (const ScreenRect& screen : screens) {
        if (gap(window, screen) < gap(window, *nearest))
            nearest = &screen;
    }
    ScreenRect placed = window;
    placed.left = clampInto(window.left, window.width, nearest->left, nearest->width);
    placed.top = clampInto(window.top, window.height, nearest->top, nearest->height);
    return placed;
}

}  // namespace tess
