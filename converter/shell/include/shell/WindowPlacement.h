#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tess {

// Stored positions and sizes are twips, 15 to a pixel, so settings keep their meaning.
inline constexpr int kTwipsPerPixel = 15;

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A stored number as a whole number, rounded half to even; nothing for an empty text, a text that
// is no number or a number beyond 32 bits.
std::optional<int> storedWholeNumber(std::string_view text);

// Whether the screen shrank since the position was stored: the question before restoring it.
bool screenShrank(int width, int height, int storedWidth, int storedHeight);

// Where a window whose frame is `window` goes: left where it is when it overlaps a screen, else
// moved onto the screen nearest to it, as far as it fits there. No screens leaves it as it is.
ScreenRect ontoNearestScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens);

}  // namespace tess
