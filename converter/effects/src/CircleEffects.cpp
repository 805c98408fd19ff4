#include "effects/CircleEffects.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "InlineSplit.h"
#include "platform/Ring.h"

namespace tess::fx {

namespace {

// A group of rings around every point of a square grid, each in the colour of its centre, drawn
// column by column, top to bottom within a column, smallest ring first.
struct RingGrid {
    int step;
    std::vector<Ring> rings;
    int reach;  // the largest radius: how far a group reaches from its centre

    RingGrid(int gridStep, std::initializer_list<int> radii)
        : step(gridStep), rings(radii.begin(), radii.end()), reach(std::max(radii)) {}
};

// The drawing loops with every write outside `clip` (a rectangle of the target, ends included)
// left out: within the rectangle each pixel receives the writes the full loops give it, in the
// same order, so it ends the same. Only the groups that reach into the rectangle are visited.
void drawGroupsWithin(const Picture& source, Picture& target, const RingGrid& grid, int left,
                      int top, int right, int bottom) {
    const int s = grid.step;
    const int r = grid.reach;
    auto firstCentre = [s](int from) { return from <= 0 ? 0 : (from + s - 1) / s * s; };
    const int lastX = std::min(source.width() - 1, right + r);
    const int lastY = std::min(source.height() - 1, bottom + r);
    for (int x = firstCentre(left - r); x <= lastX; x += s) {
        for (int y = firstCentre(top - r); y <= lastY; y += s) {
            const auto c = static_cast<std::uint32_t>(Picture::storedColour(source.pixel(x, y)));
            for (const Ring& ring : grid.rings) {
                for (const Ring::Offset& o : ring.offsets()) {
                    const int px = x + o.dx;
                    const int py = y + o.dy;
                    if (px >= left && px <= right && py >= top && py <= bottom)
                        target.row(py)[px] = c;
                }
            }
        }
    }
}

// Which group's ring a pixel shows, as the offset from the pixel to that group's centre, for
// each place (u, v) within a grid cell, found by drawing the groups around one cell far from
// any edge. Away from the edges every group that could reach a pixel exists and the drawing
// order among them is the same for every cell, so every such pixel shows what the pixel at the
// same place of this cell shows.
struct Winner {
    int dx = 0;
    int dy = 0;
    bool drawn = false;
};

std::vector<Winner> winnersOfCell(const RingGrid& grid) {
    const int s = grid.step;
    const int cells = (grid.reach + s - 1) / s;  // grid steps a group reaches across
    const int cell = cells * s;                  // the corner of the cell looked at
    const int side = cell + s + cell + 1;        // room for every group reaching into it
    Picture canvas(side, side, 0);
    const int across = (side - 1) / s + 1;
    for (int gx = 0; gx < across; ++gx) {
        for (int gy = 0; gy < across; ++gy) {
            for (const Ring& ring : grid.rings)
                canvas.ring(gx * s, gy * s, ring, 1 + gx + across * gy);
        }
    }
    std::vector<Winner> winners(static_cast<std::size_t>(s) * static_cast<std::size_t>(s));
    for (int v = 0; v < s; ++v) {
        for (int u = 0; u < s; ++u) {
            const int label = canvas.pixel(cell + u, cell + v);
            Winner& w = winners[static_cast<std::size_t>(v * s + u)];
            if (label != 0) {
                w = {(label - 1) % across * s - (cell + u), (label - 1) / across * s - (cell + v),
                     true};
            }
        }
    }
    return winners;
}

EffectOutput ringGrid(EffectContext& context, const RingGrid& grid,
                      const std::vector<Winner>& winners) {
    const Picture& source = context.picture;
    Picture& target = context.scratch;
    const int width = source.width();
    const int height = source.height();
    if (width == 0 || height == 0)
        return EffectOutput::Scratch;
    const int s = grid.step;
    const int r = grid.reach;
    // The pixels every possible group around them exists for: all grid points within the reach
    // lie between 0 and the last grid point.
    const int left = r;
    const int top = r;
    const int right = (width - 1) / s * s - r;
    const int bottom = (height - 1) / s * s - r;
    if (left > right || top > bottom) {
        drawGroupsWithin(source, target, grid, 0, 0, width - 1, height - 1);
        return EffectOutput::Scratch;
    }
    drawGroupsWithin(source, target, grid, 0, 0, width - 1, top - 1);
    drawGroupsWithin(source, target, grid, 0, bottom + 1, width - 1, height - 1);
    drawGroupsWithin(source, target, grid, 0, top, left - 1, bottom);
    drawGroupsWithin(source, target, grid, right + 1, top, width - 1, bottom);
    // Within them, each pixel takes the colour of its winner's centre, or keeps the target's:
    // cell by cell, only the places some ring draws.
    struct Place {
        int u;
        std::ptrdiff_t from;  // the winner's centre, from the pixel
    };
    std::vector<Place> places;
    for (int y = top; y <= bottom; ++y) {
        const int v = y % s;
        places.clear();
        for (int u = 0; u < s; ++u) {
            const Winner& w = winners[static_cast<std::size_t>(v * s + u)];
            if (w.drawn)
                places.push_back({u, static_cast<std::ptrdiff_t>(w.dy) * width + w.dx});
        }
        const std::uint32_t* in = source.row(y);
        std::uint32_t* out = target.row(y);
        for (int cell = left - left % s; cell <= right; cell += s) {
            const bool whole = cell >= left && cell + s - 1 <= right;
            for (const Place& p : places) {
                const int x = cell + p.u;
                if (whole || (x >= left && x <= right))
                    out[x] = in[x + p.from];
            }
        }
    }
    return EffectOutput::Scratch;
}

EffectOutput ringGrid(EffectContext& context, int step, std::initializer_list<int> radii) {
    const RingGrid grid(step, radii);
    return ringGrid(context, grid, winnersOfCell(grid));
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
