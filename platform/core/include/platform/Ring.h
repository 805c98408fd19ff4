#pragma once

#include <vector>

namespace tess {

// The pixels of the outline Picture::circle draws for one radius, as offsets from the centre,
// each once. Effects that draw rings of a few radii at every point of a grid work each ring out
// once and stamp it (Picture::ring), with the same pixels as circle().
class Ring {
  public:
    struct Offset {
        int dx;
        int dy;
        bool operator<(const Offset& o) const { return dy != o.dy ? dy < o.dy : dx < o.dx; }
        bool operator==(const Offset&) const = default;
    };

    // A negative radius gives a ring without pixels, as circle() draws nothing for it.
    explicit Ring(int radius);

    int radius() const { return radius_; }
    // Row by row from the top, left to right within a row.
    const std::vector<Offset>& offsets() const { return offsets_; }

  private:
    int radius_;
    std::vector<Offset> offsets_;
};

}  // namespace tess
