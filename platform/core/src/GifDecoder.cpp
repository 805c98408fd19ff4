#include "platform/GifDecoder.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/SystemColours.h"

namespace tess {

namespace {

using bytes::byteAt;
using bytes::le16;

Error invalid(std::string reason) {
    return Error{errc::InvalidPicture, std::move(reason)};
}

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kMaxCodes = 4096;

struct ColourTable {
    std::size_t at = 0;
    std::size_t count = 0;
};

// A colour table announced by `flags`, as much of it as the bytes hold.
ColourTable tableAt(std::string_view b, std::size_t at, std::uint32_t flags) {
    if ((flags & 0x80u) == 0 || at >= b.size()) {
        return {};
    }
    return {at, std::min<std::size_t>(std::size_t{2} << (flags & 7u), (b.size() - at) / 3)};
}

std::uint32_t entry(std::string_view b, const ColourTable& table, std::size_t index) {
    const std::size_t at = table.at + 3 * index;
    return byteAt(b, at) | byteAt(b, at + 1) << 8 | byteAt(b, at + 2) << 16;
}

// The colour of every index a code size allows: the table's entry; the back colour for the
// transparent index, and in a GIF with a transparent colour for every index the table lacks;
// otherwise white beyond the table and black where the file has no table at all.
std::vector<std::uint32_t> colourMap(std::string_view b, const ColourTable& table,
                                     std::size_t indices, int transparent, std::uint32_t back) {
    const std::uint32_t missing = transparent >= 0 ? back : table.count == 0 ? kBlack : kWhite;
    std::vector<std::uint32_t> map(indices, missing);
    for (std::size_t i = 0; i < std::min(indices, table.count); ++i) {
        map[i] = entry(b, table, i);
    }
    if (transparent >= 0 && static_cast<std::size_t>(transparent) < indices) {
        map[static_cast<std::size_t>(transparent)] = back;
    }
    return map;
}

// Where the rows of an image arrive: in order, or in the four passes of an interlaced one.
class RowOrder {
  public:
    RowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}
    int row() const { return row_; }
    void next() {
        if (!interlaced_) {
            ++row_;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= height_ && pass_ < 3) {
            ++pass_;
            row_ = kStart[pass_];
        }
    }

  private:
    int height_;
    bool interlaced_;
    int pass_ = 0;
    int row_ = 0;
};

// The LZW decoder of one image: codes from the concatenated data sub-blocks, each code's pixels
// written as colours into the image's rows, straight into the picture where a row is visible in
// full.
class ImageWriter {
  public:
    ImageWriter(Picture& picture, int left, int top, int width, int height, bool interlaced)
        : picture_(picture),
          left_(left),
          top_(top),
          width_(width),
          height_(height),
          visible_(std::clamp(picture.width() - left, 0, width)),
          order_(height, interlaced),
          spare_(static_cast<std::size_t>(width)) {
        startRow();
    }

    bool done() const { return rowsDone_ >= height_; }

    // Appends a string of `length` pixels that `fill` writes backwards from the end pointer given.
    template <class Fill>
    void put(int length, Fill fill) {
        if (width_ - column_ >= length) {
            fill(out_ + column_ + length);
            column_ += length;
            if (column_ == width_) {
                endRow();
            }
            return;
        }
        std::uint32_t* staged = stage_.data() + length;
        fill(staged);
        const std::uint32_t* from = stage_.data();
        while (length > 0 && !done()) {
            const int now = std::min(length, width_ - column_);
            std::copy(from, from + now, out_ + column_);
            from += now;
            length -= now;
            column_ += now;
            if (column_ == width_) {
                endRow();
            }
        }
    }

    // The pixels of a row the data stopped inside.
    void finish() {
        if (!done() && column_ > 0) {
            const int keep = std::min(column_, visible_);
            const int y = top_ + order_.row();
            if (out_ == spare_.data() && y < picture_.height() && keep > 0) {
                std::copy(out_, out_ + keep, picture_.row(y) + left_);
            }
        }
    }

    // Image rows written in full (the first `rows` of the order).
    int rowsDone() const { return rowsDone_; }
    int column() const { return column_; }

  private:
    void startRow() {
        const int y = top_ + order_.row();
        out_ =
            y < picture_.height() && visible_ == width_ ? picture_.row(y) + left_ : spare_.data();
    }
    void endRow() {
        const int y = top_ + order_.row();
        if (out_ == spare_.data() && y < picture_.height() && visible_ > 0) {
            std::copy(out_, out_ + visible_, picture_.row(y) + left_);
        }
        column_ = 0;
        ++rowsDone_;
        order_.next();
        if (!done()) {
            startRow();
        }
    }

    Picture& picture_;
    int left_;
    int top_;
    int width_;
    int height_;
    int visible_;  // pixels of a row inside the picture
    RowOrder order_;
    std::vector<std::uint32_t> spare_;  // a row not visible in full
    std::array<std::uint32_t, kMaxCodes + 1> stage_{};
    std::uint32_t* out_ = nullptr;
    int column_ = 0;
    int rowsDone_ = 0;
};

// Reads codes of 1 to 12 bits, least significant bit first, from the image's data.
class CodeReader {
  public:
    explicit CodeReader(const std::vector<unsigned char>& data) : data_(data) {}
    // False at the end of the data.
    bool read(int width, int& code) {
        if (count_ < width) {
            while (count_ <= 56 && at_ < data_.size()) {
                bits_ |= std::uint64_t{data_[at_++]} << count_;
                count_ += 8;
            }
            if (count_ < width) {
                return false;
            }
        }
        code = static_cast<int>(bits_ & ((std::uint64_t{1} << width) - 1));
        bits_ >>= width;
        count_ -= width;
        return true;
    }

  private:
    const std::vector<unsigned char>& data_;
    std::size_t at_ = 0;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

// Decodes until the image is full, the end code, the end of the data or a code that cannot be
// (a broken stream is shown as far as it goes, as Qt's reader and browsers show it).
void decodeLzw(const std::vector<unsigned char>& data, int minCodeSize,
               const std::vector<std::uint32_t>& colours, ImageWriter& writer) {
    struct Entry {
        std::uint16_t prefix;
        std::uint16_t length;
        std::uint32_t colour;  // of the string's last pixel
        std::uint32_t first;   // of its first pixel
    };
    std::vector<Entry> table(kMaxCodes);
    const int clear = 1 << minCodeSize;
    for (int i = 0; i < clear; ++i) {
        table[static_cast<std::size_t>(i)] = {0, 1, colours[static_cast<std::size_t>(i)],
                                              colours[static_cast<std::size_t>(i)]};
    }
    const int end = clear + 1;
    int next = clear + 2;
    int width = minCodeSize + 1;
    int previous = -1;
    CodeReader reader(data);
    const Entry* entries = table.data();
    int code = 0;
    while (!writer.done() && reader.read(width, code)) {
        if (code == clear) {
            next = clear + 2;
            width = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            break;
        }
        if (previous < 0) {
            if (code > clear) {
                break;
            }
        } else {
            if (code > next || (code == next && next >= kMaxCodes)) {
                break;
            }
            if (next < kMaxCodes) {
                const Entry& before = table[static_cast<std::size_t>(previous)];
                const std::uint32_t last =
                    code < next ? table[static_cast<std::size_t>(code)].first : before.first;
                table[static_cast<std::size_t>(next)] = {
                    static_cast<std::uint16_t>(previous),
                    static_cast<std::uint16_t>(before.length + 1), last, before.first};
                ++next;
                if (next == (1 << width) && width < 12) {
                    ++width;
                }
            }
        }
        previous = code;
        const int length = entries[code].length;
        writer.put(length, [entries, code](std::uint32_t* to) {
            int c = code;
            for (;;) {
                *--to = entries[c].colour;
                if (entries[c].length == 1) {
                    break;
                }
                c = entries[c].prefix;
            }
        });
    }
}

void fillRows(Picture& picture, int fromRow, int toRow, std::uint32_t colour) {
    for (int y = fromRow; y < toRow; ++y) {
        std::fill_n(picture.row(y), picture.width(), colour);
    }
}

}  // namespace

Result<Picture> decodeGif(std::string_view b, Colour backColour) {
    if (b.size() < 13) {
        return invalid("the GIF headers cannot be read");
    }
    const auto back = static_cast<std::uint32_t>(SystemColours::resolve(backColour) & 0xFFFFFF);
    const int screenWidth = static_cast<int>(le16(b, 6));
    const int screenHeight = static_cast<int>(le16(b, 8));
    const std::uint32_t screenFlags = byteAt(b, 10);
    const std::size_t background = byteAt(b, 11);
    const ColourTable global = tableAt(b, 13, screenFlags);
    std::size_t pos =
        13 + 3 * ((screenFlags & 0x80u) != 0 ? std::size_t{2} << (screenFlags & 7u) : 0u);
    int transparent = -1;
    while (pos < b.size() && byteAt(b, pos) == 0x21) {
        // An extension: a label and sub-blocks; a graphic control block names the transparent
        // index of the image after it.
        if (pos + 2 < b.size() && byteAt(b, pos + 1) == 0xF9 && byteAt(b, pos + 2) >= 4 &&
            pos + 6 < b.size()) {
            transparent =
                (byteAt(b, pos + 3) & 1u) != 0 ? static_cast<int>(byteAt(b, pos + 6)) : -1;
        }
        pos += 2;
        while (pos < b.size() && byteAt(b, pos) != 0) {
            pos += 1 + byteAt(b, pos);
        }
        ++pos;
    }
    if (pos + 11 > b.size() || byteAt(b, pos) != 0x2C) {
        return invalid("the GIF file holds no image");
    }
    const int left = static_cast<int>(le16(b, pos + 1));
    const int top = static_cast<int>(le16(b, pos + 3));
    const int width = static_cast<int>(le16(b, pos + 5));
    const int height = static_cast<int>(le16(b, pos + 7));
    const std::uint32_t imageFlags = byteAt(b, pos + 9);
    const ColourTable local = tableAt(b, pos + 10, imageFlags);
    pos += 10 + 3 * ((imageFlags & 0x80u) != 0 ? std::size_t{2} << (imageFlags & 7u) : 0u);
    if (pos >= b.size()) {
        return invalid("the GIF file is cut short");
    }
    const int minCodeSize = static_cast<int>(byteAt(b, pos));
    ++pos;
    if (minCodeSize < 1 || minCodeSize > 11) {
        return invalid("the GIF data cannot be decoded (a code size of " +
                       std::to_string(minCodeSize) + " bits)");
    }

    // A screen side of 0 is the image's.
    const int pictureWidth = screenWidth > 0 ? screenWidth : left + width;
    const int pictureHeight = screenHeight > 0 ? screenHeight : top + height;
    if (pictureWidth == 0 || pictureHeight == 0) {
        return invalid("the GIF picture has no pixels");
    }

    std::vector<unsigned char> data;
    std::vector<std::uint32_t> colours;
    try {
        std::size_t carried = 0;
        for (std::size_t at = pos; at < b.size() && byteAt(b, at) != 0; at += 1 + byteAt(b, at)) {
            carried += byteAt(b, at);
        }
        data.reserve(carried);
        while (pos < b.size() && byteAt(b, pos) != 0) {
            const std::size_t length = std::min<std::size_t>(byteAt(b, pos), b.size() - pos - 1);
            data.insert(data.end(), b.data() + pos + 1, b.data() + pos + 1 + length);
            pos += 1 + length;
        }
        colours = colourMap(b, local.count > 0 ? local : global, std::size_t{1} << minCodeSize,
                            transparent, back);
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
    }

    Result<Picture> made = Picture::createForOverwrite(pictureWidth, pictureHeight);
    if (!made) {
        return made;
    }
    Picture& picture = made.value();
    // Where the image leaves the screen uncovered it shows the background colour of the screen's
    // table, or is transparent; pixels of the image the data does not reach keep what was there,
    // nothing (black) on a screen the image covers.
    const bool covers = left == 0 && top == 0 && width >= pictureWidth && height >= pictureHeight;
    std::uint32_t uncovered = kBlack;
    if (transparent >= 0) {
        uncovered = back;
    } else if (!covers && local.count == 0 && global.count > 0) {
        uncovered = background < global.count ? entry(b, global, background) : kWhite;
    }
    const bool interlaced = (imageFlags & 0x40u) != 0;
    if (!covers || interlaced) {
        fillRows(picture, 0, pictureHeight, uncovered);
    }
    if (width > 0 && height > 0 && left < pictureWidth && top < pictureHeight) {
        try {
            ImageWriter writer(picture, left, top, width, height, interlaced);
            decodeLzw(data, minCodeSize, colours, writer);
            writer.finish();
            if (covers && !interlaced && !writer.done()) {
                const int row = writer.rowsDone();
                if (row < pictureHeight) {
                    std::uint32_t* r = picture.row(row);
                    std::fill(r + std::min(writer.column(), pictureWidth), r + pictureWidth,
                              uncovered);
                    fillRows(picture, row + 1, pictureHeight, uncovered);
                }
            }
        } catch (const std::bad_alloc&) {
            return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
        }
    }
    return made;
}

}  // namespace tess
