#include "shell/SamplePicture.h"

#include <cstdlib>

namespace tess {

namespace {

constexpr int kWidth = 140;
constexpr int kHeight = 92;

int mix(int from, int to, int step, int steps) {
    return from + (to - from) * step / steps;
}

// Height of the far range and of the near hills above the bottom, per column, in whole pixels.
int farRidge(int x) {
    const int peak = std::abs((x + 18) % 46 - 23);
    return 30 + peak * 2 / 3 - (x % 9 == 0 ? 1 : 0);
}

int nearRidge(int x) {
    const int d = x - 40;
    return 18 + 10 - d * d / 260 + (x > 95 ? (x - 95) / 4 : 0);
}

}  // namespace

Picture SamplePicture() {
    Picture p(kWidth, kHeight, 0);
    const int horizon = 62;
    for (int y = 0; y < horizon; ++y) {
        const Colour sky =
            rgb(mix(38, 176, y, horizon), mix(74, 208, y, horizon), mix(150, 238, y, horizon));
        p.fillBox(0, y, kWidth - 1, y, sky);
    }
    // The sun with a soft ring around it.
    const int sunX = 104;
    const int sunY = 21;
    for (int y = 0; y < horizon; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int d2 = (x - sunX) * (x - sunX) + (y - sunY) * (y - sunY);
            if (d2 <= 10 * 10) {
                p.setPixel(x, y, rgb(255, 222, 96));
            } else if (d2 <= 13 * 13) {
                p.setPixel(x, y, rgb(250, 236, 170));
            }
        }
    }
    for (int x = 0; x < kWidth; ++x) {
        const int farTop = kHeight - farRidge(x);
        for (int y = farTop; y < kHeight; ++y) {
            p.setPixel(x, y, rgb(mix(112, 86, y - farTop, 30), mix(104, 96, y - farTop, 30), 150));
        }
        const int nearTop = kHeight - nearRidge(x);
        for (int y = nearTop; y < kHeight; ++y) {
            const int depth = y - nearTop;
            p.setPixel(
                x, y,
                rgb(mix(92, 34, depth, 40), mix(170, 112, depth, 40), mix(70, 40, depth, 40)));
        }
    }
    // A lake in the valley, striped with light.
    for (int y = 80; y < kHeight; ++y) {
        const int half = 22 + (y - 80) * 2;
        for (int x = 104 - half; x <= 104 + half; ++x) {
            const bool glint = (x + y * 3) % 11 == 0;
            p.setPixel(x, y, glint ? rgb(214, 232, 250) : rgb(60, 112, mix(176, 150, y - 80, 12)));
        }
    }
    return p;
}

}  // namespace tess
