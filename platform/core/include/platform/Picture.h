#pragma once

#include <cstddef>
#include <vector>

#include "platform/Colour.h"
#include "platform/Result.h"

namespace tess {

// A 24-bit raster, pixels stored as 0x00BBGGRR. Every access is bounds-checked: a read outside the
// picture gives kInvalidColour and a write outside does nothing, so no call can leave the buffer.
class Picture {
public:
    static constexpr int kMaxSide = 32767;

    Picture() = default;
    // Creates a picture filled with `fill`; sides above kMaxSide or memory that cannot be had are
    // refused by create(), which the loaders and resizes use. The constructor clamps to 0..kMaxSide.
    Picture(int width, int height, Colour fill = 0x00FFFFFF);
    static Result<Picture> create(int width, int height, Colour fill = 0x00FFFFFF);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    Colour pixel(int x, int y) const {
        return contains(x, y) ? static_cast<Colour>(pixels_[index(x, y)]) : kInvalidColour;
    }
    // Writes the colour's low 24 bits after resolving a system colour reference; any other value
    // that is not a colour (the invalid -1, negated colours, sums above 0xFFFFFF) is masked the same way.
    void setPixel(int x, int y, Colour c);

    // Straight line from (x1, y1) towards (x2, y2); the end point itself is not drawn.
    void line(int x1, int y1, int x2, int y2, Colour c);
    // Outline of the rectangle with corners (x1, y1) and (x2, y2), both corners included.
    void box(int x1, int y1, int x2, int y2, Colour c);
    // Every pixel from x1 to x2 and y1 to y2, both ends included.
    void fillBox(int x1, int y1, int x2, int y2, Colour c);
    // One-pixel outline of the circle of `radius` around (cx, cy); see the source for the raster rule.
    void circle(int cx, int cy, int radius, Colour c);
    void fill(Colour c);

    // Keeps the overlapping area and fills what the new size adds with `fill`.
    Status resize(int width, int height, Colour fill);

    // Raw rows for fast readers (the mosaic writer); `row(y)` points at width() pixels.
    const std::uint32_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    bool operator==(const Picture& other) const = default;

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace tess
