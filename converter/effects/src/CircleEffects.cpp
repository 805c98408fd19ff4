#include "effects/CircleEffects.h"

#include <initializer_list>
#include <vector>

#include "InlineSplit.h"
#include "platform/Ring.h"

namespace tess::fx {

namespace {

EffectOutput ringGrid(EffectContext& context, int step, std::initializer_list<int> radii) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const std::vector<Ring> rings(radii.begin(), radii.end());
    for (int x = 0; x <= source.width() - 1; x += step) {
        for (int y = 0; y <= source.height() - 1; y += step) {
            // The source is only read, so every ring of a group has the colour of its centre.
            const Colour c = source.pixel(x, y);
            for (const Ring& ring : rings) {
                target.ring(x, y, ring, c);
            }
        }
    }
    return EffectOutput::Scratch;
}

}  // namespace

EffectOutput eyes(EffectContext& context) {
    return ringGrid(context, 6, {1, 3, 5});
}

EffectOutput targets(EffectContext& context) {
    return ringGrid(context, 11, {1, 3, 5});
}

EffectOutput xFiles(EffectContext& context) {
    return ringGrid(context, 6, {1, 2, 4});
}

EffectOutput circleWorm(EffectContext& context) {
    return ringGrid(context, 6, {2, 4});
}

EffectOutput circular(EffectContext& context) {
    return ringGrid(context, 4, {4});
}

// The loop counters and their steps are single-precision numbers and the counters advance by
// repeated addition, so the number of passes is that of the running float sum: 19 for a side of
// 10 pixels (steps of 0.5 up to 9), 20 for any side of 20 or more.
EffectOutput spiral(EffectContext& context) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const auto width = static_cast<float>(source.width());
    const auto height = static_cast<float>(source.height());
    const float stepX = width / 20.0f;
    const float stepY = height / 20.0f;
    const float lastX = width - 1.0f;
    const float lastY = height - 1.0f;
    const int cx = Picture::pixelCoordinate(width / 2.0f);
    const int cy = Picture::pixelCoordinate(height / 2.0f);
    int radius = 0;
    // A side of 0 gives a step of 0 and an end of -1: the loop does not start, so it cannot spin.
    for (float x = 0.0f; x <= lastX; x += stepX) {
        for (float y = 0.0f; y <= lastY; y += stepY) {
            ++radius;
            const Colour c =
                source.pixel(static_cast<int>(nearestWhole(x)), static_cast<int>(nearestWhole(y)));
            target.circle(cx, cy, radius, c);
        }
    }
    return EffectOutput::Scratch;
}

}  // namespace tess::fx
