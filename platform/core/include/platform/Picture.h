#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Colour.h"
#include "platform/Result.h"

namespace tess {

class Ring;

// A 24-bit raster, pixels stored as 0x00BBGGRR. Every access is bounds-checked: a read outside the
// picture gives kInvalidColour and a write outside does nothing, so no call can leave the buffer.
class Picture {
  public:
    static constexpr int kMaxSide = 32767;
    // The most pixels one picture may hold (1 GiB of surface). Linux hands out far more memory
    // than it has and kills the process when the pages are touched, so a cap is the only way a
    // huge request can be refused instead of ending the program.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

    Picture() = default;
    // Creates a picture filled with `fill` (a system colour reference is resolved). The constructor
    // is for sizes the program chooses: it clamps the sides to 0..kMaxSide and lets std::bad_alloc
    // through. create() is for sizes from outside (files, dialogs, resizes): it refuses negative
    // sides (errc::Generic), sides above kMaxSide, more than kMaxPixels and memory that cannot be
    // had (errc::OutOfMemory), and never throws.
    Picture(int width, int height, Colour fill = 0x00FFFFFF);
    static Result<Picture> create(int width, int height, Colour fill = 0x00FFFFFF);
    // As create(), with the pixels left unset, for a decoder that writes every one of them next
    // (filling a large picture first would cost as much time as writing it).
    static Result<Picture> createForOverwrite(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Colour pixel(int x, int y) const {
        return contains(x, y) ? static_cast<Colour>(pixels_[index(x, y)]) : kInvalidColour;
    }
    // Writes the colour's low 24 bits after resolving a system colour reference; any other value
    // that is not a colour (the invalid -1, negated colours, sums above 0xFFFFFF) is masked the
    // same way: -1 becomes white 0xFFFFFF, -0x102030 becomes 0xEFDFD0, 0x1000005 becomes 5.
    // Every drawing call below stores its colour by this rule.
    void setPixel(int x, int y, Colour c) {
        if (contains(x, y)) {
            pixels_[index(x, y)] = static_cast<std::uint32_t>(storedColour(c));
        }
    }
    // The value setPixel stores for `c`. A plain colour is stored as it is, at no cost.
    static Colour storedColour(Colour c) { return (c & ~0xFFFFFF) == 0 ? c : storedNonColour(c); }
    // Writes a number that an effect computed from colours (a colour plus a running offset, a
    // negated colour) and that may have outgrown 32 bits: the picture keeps its low 24 bits, the
    // rule setPixel applies to every value that is not a system colour reference. A computed
    // number is never taken for such a reference: 0x80000005 stores 0x000005, not the window
    // colour.
    void setPixelValue(int x, int y, std::int64_t value) {
        if (contains(x, y)) {
            pixels_[index(x, y)] = storedValue(value);
        }
    }
    // The value setPixelValue stores, for code that writes whole rows.
    static std::uint32_t storedValue(std::int64_t value) {
        return static_cast<std::uint32_t>(value) & 0xFFFFFFu;
    }
    // Drawing coordinates arrive as single-precision numbers (a centre at half the width, a box
    // edge at half the height). A fractional one falls on the pixel of the nearest whole number,
    // a half going to the even neighbour as every conversion does: 2.5 draws on 2, 3.5 on 4.
    // Values beyond the int range saturate, so they stay outside the picture.
    static int pixelCoordinate(double v);

    // Straight line from (x1, y1) towards (x2, y2); the end point itself is not drawn, so a line
    // whose two points are equal draws nothing. See the source for the raster rule.
    void line(int x1, int y1, int x2, int y2, Colour c);
    // Outline of the rectangle with corners (x1, y1) and (x2, y2), both corners included.
    void box(int x1, int y1, int x2, int y2, Colour c);
    // Every pixel from x1 to x2 and y1 to y2, both ends included.
    void fillBox(int x1, int y1, int x2, int y2, Colour c) {
        // The small boxes effects draw by the million mostly lie inside, in this corner order.
        if (x1 >= 0 && y1 >= 0 && x1 <= x2 && y1 <= y2 && x2 < width_ && y2 < height_) {
            const auto stored = static_cast<std::uint32_t>(storedColour(c));
            for (int y = y1; y <= y2; ++y) {
                std::uint32_t* r = row(y);
                for (int x = x1; x <= x2; ++x) {
                    r[x] = stored;
                }
            }
            return;
        }
        fillClippedBox(x1, y1, x2, y2, c);
    }
    // One-pixel outline of the circle of `radius` around (cx, cy); see the source for the raster
    // rule.
    void circle(int cx, int cy, int radius, Colour c);
    // The same outline from a ring worked out beforehand, for drawing it at many centres.
    void ring(int cx, int cy, const Ring& ring, Colour c);
    void fill(Colour c);

    // Keeps the overlapping area and fills what the new size adds with `fill`. Refuses the sizes
    // create() refuses and then leaves the picture as it was.
    Status resize(int width, int height, Colour fill);
    // Gives the picture a new size with every pixel `fill` (assignForOverwrite: left unset, for a
    // writer of every pixel), in the memory it has where that is large enough, so a picture
    // made again at the same size costs no fresh memory. Refuses the sizes create() refuses and
    // then leaves the picture as it was; memory that cannot be had leaves it empty.
    Status assign(int width, int height, Colour fill);
    Status assignForOverwrite(int width, int height);
    // Becomes a copy of `other`, in the memory it has where that is large enough, the rows copied
    // on every core: most of a large copy into memory new to the process is the system clearing
    // its pages. Memory that cannot be had leaves the picture as it was.
    Status copyFrom(const Picture& other);
    // How many pixels the memory the picture has holds; assign() up to that takes no new memory.
    std::size_t pixelCapacity() const { return pixels_.capacity(); }

    // Raw rows for fast readers (the mosaic writer); `row(y)` points at width() pixels.
    const std::uint32_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    bool operator==(const Picture& other) const = default;

  private:
    static Colour storedNonColour(Colour c);
    void fillClippedBox(int x1, int y1, int x2, int y2, Colour c);

    // Leaves new pixels unset where the vector would zero them; every other use is a vector's.
    template <class T>
    struct DefaultInitAllocator : std::allocator<T> {
        template <class U>
        struct rebind {
            using other = DefaultInitAllocator<U>;
        };
        template <class U>
        void construct(U* at) {
            ::new (static_cast<void*>(at)) U;
        }
        template <class U, class... Args>
        void construct(U* at, Args&&... args) {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };

    struct Unset {};
    Picture(int width, int height, Unset);
    // assign() and assignForOverwrite(): `fill` empty for the latter.
    Status reuse(int width, int height, std::optional<std::uint32_t> fill);

    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t, DefaultInitAllocator<std::uint32_t>> pixels_;
};

}  // namespace tess
