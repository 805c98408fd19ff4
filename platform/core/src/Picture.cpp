#include "platform/Picture.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "CircleWalk.h"
#include "platform/Parallel.h"
#include "platform/Ring.h"
#include "platform/Runtime.h"
#include "platform/SystemColours.h"

namespace tess {

namespace {

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Refuses the sizes that create() and resize() must not try to allocate.
Status checkSize(int width, int height) {
    if (width < 0 || height < 0) {
        return Error{errc::Generic, "invalid picture size " + sizeText(width, height)};
    }
    if (width > Picture::kMaxSide || height > Picture::kMaxSide ||
        std::int64_t{width} * height > Picture::kMaxPixels) {
        return Error{errc::OutOfMemory,
                     "a picture of " + sizeText(width, height) + " is too large: at most " +
                         std::to_string(Picture::kMaxSide) + " pixels a side and " +
                         std::to_string(Picture::kMaxPixels) + " pixels in all"};
    }
    return {};
}

Error noMemory(int width, int height) {
    return Error{errc::OutOfMemory,
                 "not enough memory for a picture of " + sizeText(width, height)};
}

// Interval [lo, hi) of steps i in [0, n) for which start + step * i lies in [0, size).
void clipSteps(std::int64_t start, int step, std::int64_t size, std::int64_t n, std::int64_t& lo,
               std::int64_t& hi) {
    if (step > 0) {
        lo = std::max<std::int64_t>(0, -start);
        hi = std::min<std::int64_t>(n, size - start);
    } else {
        lo = std::max<std::int64_t>(0, start - size + 1);
        hi = std::min<std::int64_t>(n, start + 1);
    }
}

}  // namespace

Picture::Picture(int width, int height, Colour fill)
    : width_(std::clamp(width, 0, kMaxSide)), height_(std::clamp(height, 0, kMaxSide)) {
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                   static_cast<std::uint32_t>(storedColour(fill)));
}

Picture::Picture(int width, int height, Unset) : width_(width), height_(height) {
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

Result<Picture> Picture::createForOverwrite(int width, int height) {
    if (Status s = checkSize(width, height); !s) {
        return s.error();
    }
    try {
        return Picture(width, height, Unset{});
    } catch (const std::bad_alloc&) {
        return noMemory(width, height);
    }
}

Result<Picture> Picture::create(int width, int height, Colour fill) {
    if (Status s = checkSize(width, height); !s) {
        return s.error();
    }
    try {
        return Picture(width, height, fill);
    } catch (const std::bad_alloc&) {
        return noMemory(width, height);
    }
}

Colour Picture::storedNonColour(Colour c) {
    return SystemColours::resolve(c) & 0xFFFFFF;
}

int Picture::pixelCoordinate(double v) {
    return rt::roundHalfEven(v);
}

// The pixels of a line: n = the larger of |x2 - x1| and |y2 - y1| steps along that (major) axis,
// i = 0 .. n - 1, so the end point is never drawn and equal points draw nothing. At step i the
// minor coordinate moves by the whole number nearest to i * dminor / n; an exact half rounds
// towards the start. This is the pixel set of Bresenham's algorithm, computed per step so that
// the steps outside the picture can be skipped and far-away end points cost nothing. A 45-degree
// line counts x as its major axis (both give the same pixels).
void Picture::line(int x1, int y1, int x2, int y2, Colour c) {
    const std::int64_t dx = std::int64_t{x2} - x1;
    const std::int64_t dy = std::int64_t{y2} - y1;
    const std::uint64_t adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
    const std::uint64_t ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
    const bool xMajor = adx >= ady;
    const std::uint64_t n = xMajor ? adx : ady;
    if (n == 0 || empty()) {
        return;
    }
    const std::uint64_t dminor = xMajor ? ady : adx;
    const std::int64_t majorStart = xMajor ? x1 : y1;
    const std::int64_t minorStart = xMajor ? y1 : x1;
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorSize = xMajor ? width_ : height_;
    const std::int64_t minorSize = xMajor ? height_ : width_;

    std::int64_t lo = 0;
    std::int64_t hi = 0;
    clipSteps(majorStart, majorStep, majorSize, static_cast<std::int64_t>(n), lo, hi);
    const auto stored = static_cast<std::uint32_t>(storedColour(c));
    for (std::int64_t i = lo; i < hi; ++i) {
        // i < 2^32 and dminor <= n < 2^32, so the product fits in 64 unsigned bits.
        const std::uint64_t product = static_cast<std::uint64_t>(i) * dminor;
        const std::uint64_t rest = product % n;
        const std::uint64_t offset = product / n + (2 * rest > n ? 1 : 0);
        const std::int64_t minor = minorStart + minorStep * static_cast<std::int64_t>(offset);
        if (minor < 0 || minor >= minorSize) {
            continue;
        }
        const std::int64_t major = majorStart + majorStep * i;
        const int x = static_cast<int>(xMajor ? major : minor);
        const int y = static_cast<int>(xMajor ? minor : major);
        pixels_[index(x, y)] = stored;
    }
}

void Picture::box(int x1, int y1, int x2, int y2, Colour c) {
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    fillBox(left, top, right, top, c);
    fillBox(left, bottom, right, bottom, c);
    fillBox(left, top, left, bottom, c);
    fillBox(right, top, right, bottom, c);
}

void Picture::fillClippedBox(int x1, int y1, int x2, int y2, Colour c) {
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), width_ - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), height_ - 1);
    if (left > right || top > bottom) {
        return;
    }
    const auto stored = static_cast<std::uint32_t>(storedColour(c));
    for (int y = top; y <= bottom; ++y) {
        std::uint32_t* r = row(y);
        std::fill(r + left, r + right + 1, stored);
    }
}

// The midpoint outline of CircleWalk.h.
void Picture::circle(int cx, int cy, int radius, Colour c) {
    if (radius < 0 || empty()) {
        return;
    }
    const std::int64_t r = radius;
    const std::int64_t ox = cx;
    const std::int64_t oy = cy;
    if (ox + r < 0 || oy + r < 0 || ox - r >= width_ || oy - r >= height_) {
        return;
    }
    // A huge circle around the picture: when even the farthest corner lies well inside the ring
    // no pixel of the outline falls on the picture, so the long walk is skipped.
    if (r > 2) {
        const double fx = static_cast<double>(std::max(ox, width_ - 1 - ox));
        const double fy = static_cast<double>(std::max(oy, height_ - 1 - oy));
        const double inner = static_cast<double>(r - 2);
        if (fx * fx + fy * fy < inner * inner) {
            return;
        }
    }
    const auto stored = static_cast<std::uint32_t>(storedColour(c));
    walkCircle(r, [&](std::int64_t dx, std::int64_t dy) {
        const std::int64_t px = ox + dx;
        const std::int64_t py = oy + dy;
        if (px >= 0 && py >= 0 && px < width_ && py < height_) {
            pixels_[index(static_cast<int>(px), static_cast<int>(py))] = stored;
        }
    });
}

void Picture::ring(int cx, int cy, const Ring& ring, Colour c) {
    const std::int64_t r = ring.radius();
    const std::int64_t ox = cx;
    const std::int64_t oy = cy;
    if (r < 0 || ox + r < 0 || oy + r < 0 || ox - r >= width_ || oy - r >= height_) {
        return;
    }
    const auto stored = static_cast<std::uint32_t>(storedColour(c));
    if (ox - r >= 0 && oy - r >= 0 && ox + r < width_ && oy + r < height_) {
        // Wholly on the picture: no test per pixel.
        std::uint32_t* centre = pixels_.data() + index(cx, cy);
        for (const Ring::Offset& o : ring.offsets()) {
            centre[static_cast<std::ptrdiff_t>(o.dy) * width_ + o.dx] = stored;
        }
        return;
    }
    for (const Ring::Offset& o : ring.offsets()) {
        const std::int64_t px = ox + o.dx;
        const std::int64_t py = oy + o.dy;
        if (px >= 0 && py >= 0 && px < width_ && py < height_) {
            pixels_[index(static_cast<int>(px), static_cast<int>(py))] = stored;
        }
    }
}

void Picture::fill(Colour c) {
    std::fill(pixels_.begin(), pixels_.end(), static_cast<std::uint32_t>(storedColour(c)));
}

Status Picture::resize(int width, int height, Colour fill) {
    if (width == width_ && height == height_) {
        return {};
    }
    if (Status s = checkSize(width, height); !s) {
        return s;
    }
    try {
        Picture next(width, height, fill);
        const int w = std::min(width, width_);
        const int h = std::min(height, height_);
        for (int y = 0; y < h; ++y) {
            std::copy(row(y), row(y) + w, next.row(y));
        }
        *this = std::move(next);
    } catch (const std::bad_alloc&) {
        return noMemory(width, height);
    }
    return {};
}

Status Picture::assign(int width, int height, Colour fill) {
    return reuse(width, height, static_cast<std::uint32_t>(storedColour(fill)));
}

Status Picture::assignForOverwrite(int width, int height) {
    return reuse(width, height, std::nullopt);
}

Status Picture::reuse(int width, int height, std::optional<std::uint32_t> fill) {
    if (Status s = checkSize(width, height); !s) {
        return s;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (count > pixels_.capacity()) {
        // Given up first, so the old and the new memory are never held at once.
        decltype(pixels_)().swap(pixels_);
        width_ = 0;
        height_ = 0;
    }
    try {
        pixels_.clear();
        pixels_.resize(count);
    } catch (const std::bad_alloc&) {
        decltype(pixels_)().swap(pixels_);
        width_ = 0;
        height_ = 0;
        return noMemory(width, height);
    }
    width_ = width;
    height_ = height;
    if (fill) {
        const auto rowPixels = static_cast<std::size_t>(width);
        inRowBands(height, rowPixels, [&](int first, int end) {
            std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(first * rowPixels),
                      pixels_.begin() + static_cast<std::ptrdiff_t>(end * rowPixels), *fill);
        });
    }
    return {};
}

Status Picture::copyFrom(const Picture& other) {
    if (&other == this)
        return {};
    const std::size_t count = other.pixels_.size();
    const bool inPlace = count <= pixels_.capacity();
    decltype(pixels_) fresh;
    if (!inPlace) {
        try {
            fresh.resize(count);
        } catch (const std::bad_alloc&) {
            return noMemory(other.width_, other.height_);
        }
    }
    // Within the capacity this cannot throw.
    decltype(pixels_)& to = inPlace ? pixels_ : fresh;
    to.resize(count);
    const auto rowPixels = static_cast<std::size_t>(other.width_);
    inRowBands(other.height_, rowPixels, [&](int first, int end) {
        const std::size_t at = static_cast<std::size_t>(first) * rowPixels;
        std::copy(other.pixels_.begin() + static_cast<std::ptrdiff_t>(at),
                  other.pixels_.begin() +
                      static_cast<std::ptrdiff_t>(static_cast<std::size_t>(end) * rowPixels),
                  to.begin() + static_cast<std::ptrdiff_t>(at));
    });
    if (!inPlace)
        pixels_.swap(fresh);
    width_ = other.width_;
    height_ = other.height_;
    return {};
}

}  // namespace tess
