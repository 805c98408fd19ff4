#include "shell/StatusPanel.h"

namespace tess {

void drawSunkenBevel(Picture& surface, const ControlRect& control, int thickness) {
    const int l = control.left;
    const int t = control.top;
    const int w = control.width;
    const int h = control.height;
    const Colour shadow = syscolour::ButtonShadow;
    const Colour light = syscolour::ButtonHighlight;
    for (int i = 2; i <= thickness; ++i) {
        surface.line(l - i + 2, t - i, l + w + i - 1, t - i, shadow);
        surface.setPixel(l - 1, t - 1, shadow);
        surface.line(l - i, t, l - i, t + h + 1, shadow);
        surface.setPixel(l - 1, t + h + 1, light);
        surface.line(l - i + 2, t + h + i, l + w + 1, t + h + i, light);
        surface.setPixel(l + w + 1, t - 1, shadow);
        surface.line(l + w + i, t, l + w + i, t + h + i - 1, light);
        surface.setPixel(l + w + 1, t + h + 1, light);
    }
}

int barPixel(std::int64_t units, std::int64_t scaleWidth, int pixelWidth) {
    if (scaleWidth <= 0)
        return static_cast<int>(units);
    // Nearest pixel, as a scaled coordinate lands on the raster.
    const std::int64_t scaled = (2 * units * pixelWidth + scaleWidth) / (2 * scaleWidth);
    return static_cast<int>(scaled);
}

void drawProgressBar(PictureBox& bar, int right) {
    Picture& surface = bar.surface();
    const int bottom = surface.height();
    const Colour back = bar.backColor();
    // A bar of no width fills nothing; only its corner pixels are written.
    if (right > 0)
        surface.fillBox(0, 0, right, bottom, kBarColour);
    surface.setPixel(0, 0, back);
    surface.setPixel(0, bottom - 1, back);
    surface.setPixel(right, 0, back);
    surface.setPixel(right, bottom - 1, back);
    bar.touch();
}

}  // namespace tess
