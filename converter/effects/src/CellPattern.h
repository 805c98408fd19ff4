#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Picture.h"

namespace tess::fx {

// What the tile and box effects draw in each cell of their square grid, worked out once: the
// effect's drawing calls for one cell, made on a small canvas where colour k stands for the
// cell's k-th colour (1 to kMaxColours) and 0 for a pixel the cell leaves alone.
//
// The effects walk their cells column by column, each column top to bottom, and read only the
// source, so where shapes of two cells meet the later cell's shapes lie on top. A cell's shapes
// may reach into the first row or column of the cells to its right and below (drawn later), and
// those cells draw over every pixel there themselves; so each pixel of the result is the one its
// own cell draws, or the target's own where its cell leaves it alone. drawCells() writes the
// result row by row on that ground; the effects' tests hold it to the drawing loops it replaces.
class CellPattern {
  public:
    static constexpr int kMaxColours = 2;
    using Labels = std::array<Colour, kMaxColours + 1>;

    // `drawCell(canvas, labels)` draws one cell with its top-left corner at (0, 0), in the colours
    // labels[1] to labels[kMaxColours].
    template <class DrawCell>
    CellPattern(int size, DrawCell drawCell) : size_(size) {
        Picture canvas(2 * size, 2 * size, 0);
        Labels labels{};
        for (int k = 1; k <= kMaxColours; ++k)
            labels[static_cast<std::size_t>(k)] = k;
        drawCell(canvas, labels);
        labels_.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
        for (int v = 0; v < size; ++v) {
            for (int u = 0; u < size; ++u)
                labels_[index(u, v)] = static_cast<std::uint8_t>(canvas.pixel(u, v));
        }
        // Rows with the same labels share one template row in drawCells().
        kindOfRow_.resize(static_cast<std::size_t>(size));
        for (int v = 0; v < size; ++v) {
            kindOfRow_[static_cast<std::size_t>(v)] = v;
            for (int a = 0; a < v; ++a) {
                if (kindOfRow(a) == a && sameRow(a, v)) {
                    kindOfRow_[static_cast<std::size_t>(v)] = a;
                    break;
                }
            }
        }
    }

    int size() const { return size_; }
    // The label of the cell's pixel (u, v), 0 <= u, v < size().
    int label(int u, int v) const { return labels_[index(u, v)]; }
    // The first row with the labels of row v.
    int kindOfRow(int v) const { return kindOfRow_[static_cast<std::size_t>(v)]; }
    // Whether row v leaves none of its pixels alone.
    bool rowIsFull(int v) const {
        for (int u = 0; u < size_; ++u) {
            if (label(u, v) == 0)
                return false;
        }
        return true;
    }
    // Whether row v leaves all of its pixels alone.
    bool rowIsEmpty(int v) const {
        for (int u = 0; u < size_; ++u) {
            if (label(u, v) != 0)
                return false;
        }
        return true;
    }
    // Whether every pixel of the cell has the label `k`.
    bool coversWholeCell(int k) const {
        return std::all_of(labels_.begin(), labels_.end(), [k](std::uint8_t l) { return l == k; });
    }

  private:
    std::size_t index(int u, int v) const {
        return static_cast<std::size_t>(v) * static_cast<std::size_t>(size_) +
               static_cast<std::size_t>(u);
    }
    bool sameRow(int a, int b) const {
        for (int u = 0; u < size_; ++u) {
            if (label(u, a) != label(u, b))
                return false;
        }
        return true;
    }

    int size_;
    std::vector<std::uint8_t> labels_;
    std::vector<int> kindOfRow_;
};

// The cells of `pattern` over the whole of `target` (the size of `source`): each cell in the
// colours coloursOf(the source pixel at its top-left corner) gives, as CellPattern::Labels
// (index 0 unused).
template <class ColoursOf>
[[gnu::always_inline]] inline void drawCells(const Picture& source, Picture& target,
                                             const CellPattern& pattern, ColoursOf coloursOf) {
    const int size = pattern.size();
    const int width = source.width();
    const int height = source.height();
    if (width == 0 || height == 0)
        return;
    const auto w = static_cast<std::size_t>(width);
    const int across = (width + size - 1) / size;
    std::vector<std::array<std::uint32_t, CellPattern::kMaxColours + 1>> colours(
        static_cast<std::size_t>(across));
    // One template row a kind of row: the pixels it draws, and all ones where it draws.
    std::vector<std::vector<std::uint32_t>> values(static_cast<std::size_t>(size));
    std::vector<std::vector<std::uint32_t>> masks(static_cast<std::size_t>(size));
    for (int top = 0; top < height; top += size) {
        const std::uint32_t* samples = source.row(top);
        for (int i = 0; i < across; ++i) {
            const CellPattern::Labels c = coloursOf(static_cast<Colour>(samples[i * size]));
            auto& stored = colours[static_cast<std::size_t>(i)];
            for (std::size_t k = 1; k < stored.size(); ++k)
                stored[k] = static_cast<std::uint32_t>(Picture::storedColour(c[k]));
        }
        const int rows = std::min(size, height - top);
        for (int v = 0; v < rows; ++v) {
            const int kind = pattern.kindOfRow(v);
            if (pattern.rowIsEmpty(kind))
                continue;
            auto& value = values[static_cast<std::size_t>(kind)];
            auto& mask = masks[static_cast<std::size_t>(kind)];
            if (kind == v) {
                value.resize(w);
                mask.resize(w);
                for (int i = 0, x0 = 0; i < across; ++i, x0 += size) {
                    const auto& c = colours[static_cast<std::size_t>(i)];
                    const int n = std::min(size, width - x0);
                    for (int u = 0; u < n; ++u) {
                        const int label = pattern.label(u, kind);
                        const auto x = static_cast<std::size_t>(x0 + u);
                        value[x] = c[static_cast<std::size_t>(label)];
                        mask[x] = label == 0 ? 0u : ~0u;
                    }
                }
            }
            std::uint32_t* out = target.row(top + v);
            if (pattern.rowIsFull(kind)) {
                std::copy(value.begin(), value.end(), out);
            } else {
                for (std::size_t x = 0; x < w; ++x)
                    out[x] = (out[x] & ~mask[x]) | (value[x] & mask[x]);
            }
        }
    }
}

}  // namespace tess::fx
