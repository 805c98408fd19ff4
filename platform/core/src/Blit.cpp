#include "platform/Blit.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Parallel.h"

namespace tess {

namespace {

std::uint32_t combine(std::uint32_t dst, std::uint32_t src, RasterOp op) {
    return op == RasterOp::SrcInvert ? (dst ^ src) : src;
}

// One axis of a stretch: for each destination pixel that lies on the destination picture, its
// coordinate there and the run of source coordinates [first, last] (ascending, already clipped to
// the source picture) that it takes its colour from.
struct AxisStep {
    int dst;
    int first;
    int last;
};

// Destination step k (0 <= k < |dn|) sits at d0 + sign(dn) * k. It maps to the source steps
// [k * |sn| / |dn|, (k + 1) * |sn| / |dn|) (rounded down; at least one step), which sit at
// s0 + sign(sn) * t. So each destination pixel starts at the source pixel under its left (top)
// edge, and a negative extent walks its picture backwards: a mirror with no shift when the origin
// is the last column or row. When the stretch shrinks this axis and `merge` is set, the whole run
// is kept for ANDing; otherwise only the first source pixel of the run is used.
std::vector<AxisStep> mapAxis(int d0, int dn, int dstSize, int s0, int sn, int srcSize,
                              bool merge) {
    std::vector<AxisStep> steps;
    const std::int64_t dlen = dn < 0 ? -std::int64_t{dn} : std::int64_t{dn};
    const std::int64_t slen = sn < 0 ? -std::int64_t{sn} : std::int64_t{sn};
    const int dstep = dn < 0 ? -1 : 1;
    const int sstep = sn < 0 ? -1 : 1;

    std::int64_t lo = 0;
    std::int64_t hi = 0;
    if (dstep > 0) {
        lo = std::max<std::int64_t>(0, -std::int64_t{d0});
        hi = std::min<std::int64_t>(dlen, std::int64_t{dstSize} - d0);
    } else {
        lo = std::max<std::int64_t>(0, std::int64_t{d0} - dstSize + 1);
        hi = std::min<std::int64_t>(dlen, std::int64_t{d0} + 1);
    }
    if (lo >= hi) {
        return steps;
    }
    steps.reserve(static_cast<std::size_t>(hi - lo));
    const bool shrinking = slen > dlen;
    for (std::int64_t k = lo; k < hi; ++k) {
        // k < 2^31 and slen <= 2^31, so the products fit in 64 bits.
        const std::int64_t a = k * slen / dlen;
        std::int64_t b = (merge && shrinking) ? (k + 1) * slen / dlen : a + 1;
        b = std::max(b, a + 1);
        // Source coordinates of the run, ascending.
        std::int64_t first = sstep > 0 ? s0 + a : s0 - (b - 1);
        std::int64_t last = sstep > 0 ? s0 + (b - 1) : s0 - a;
        first = std::max<std::int64_t>(first, 0);
        last = std::min<std::int64_t>(last, std::int64_t{srcSize} - 1);
        if (first > last) {
            continue;
        }
        const std::int64_t d = std::int64_t{d0} + dstep * k;
        steps.push_back({static_cast<int>(d), static_cast<int>(first), static_cast<int>(last)});
    }
    return steps;
}

}  // namespace

void bitBlt(Picture& dst, int dx, int dy, int w, int h, const Picture& src, int sx, int sy,
            RasterOp op) {
    if (w <= 0 || h <= 0) {
        return;
    }
    // Offsets i, j inside the block that fall on both pictures.
    const std::int64_t i0 = std::max<std::int64_t>({0, -std::int64_t{sx}, -std::int64_t{dx}});
    const std::int64_t i1 =
        std::min<std::int64_t>({w, std::int64_t{src.width()} - sx, std::int64_t{dst.width()} - dx});
    const std::int64_t j0 = std::max<std::int64_t>({0, -std::int64_t{sy}, -std::int64_t{dy}});
    const std::int64_t j1 = std::min<std::int64_t>(
        {h, std::int64_t{src.height()} - sy, std::int64_t{dst.height()} - dy});
    if (i0 >= i1 || j0 >= j1) {
        return;
    }
    // A copy within one picture reads the source as it was before the copy began.
    std::optional<Picture> copy;
    if (&dst == &src) {
        copy = src;
    }
    const Picture& from = copy ? *copy : src;
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::uint32_t* s = from.row(static_cast<int>(sy + j));
        std::uint32_t* d = dst.row(static_cast<int>(dy + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            std::uint32_t& out = d[dx + i];
            out = combine(out, s[sx + i], op);
        }
    }
}

void stretchBlt(Picture& dst, int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy,
                int sw, int sh, RasterOp op, StretchMode mode, const RowFinished& finished) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) {
        return;
    }
    const bool merge = mode == StretchMode::BlackOnWhite;
    const std::vector<AxisStep> cols = mapAxis(dx, dw, dst.width(), sx, sw, src.width(), merge);
    const std::vector<AxisStep> rows = mapAxis(dy, dh, dst.height(), sy, sh, src.height(), merge);
    if (cols.empty() || rows.empty()) {
        return;
    }
    std::optional<Picture> copy;
    if (&dst == &src) {
        copy = src;
    }
    const Picture& from = copy ? *copy : src;
    // Where no destination column takes more than one source column, a row taken from one
    // source row is a plain gather.
    const bool gather =
        std::all_of(cols.begin(), cols.end(), [](const AxisStep& c) { return c.first == c.last; });
    // Each destination row is written once, from rows of `from` alone, so bands of rows can be
    // drawn side by side.
    inRowBands(static_cast<int>(rows.size()), cols.size(), [&](int firstRow, int endRow) {
        for (int i = firstRow; i < endRow; ++i) {
            const AxisStep& r = rows[static_cast<std::size_t>(i)];
            std::uint32_t* d = dst.row(r.dst);
            if (gather && r.first == r.last) {
                const std::uint32_t* s = from.row(r.first);
                if (op == RasterOp::SrcCopy) {
                    for (const AxisStep& c : cols)
                        d[c.dst] = s[c.first] & 0x00FFFFFFu;
                } else {
                    for (const AxisStep& c : cols)
                        d[c.dst] = combine(d[c.dst], s[c.first] & 0x00FFFFFFu, op);
                }
            } else {
                for (const AxisStep& c : cols) {
                    std::uint32_t v = 0x00FFFFFF;
                    for (int y = r.first; y <= r.last; ++y) {
                        const std::uint32_t* s = from.row(y);
                        for (int x = c.first; x <= c.last; ++x) {
                            v &= s[x];
                        }
                    }
                    d[c.dst] = combine(d[c.dst], v, op);
                }
            }
            if (finished)
                finished(r.dst);
        }
    });
}

}  // namespace tess
