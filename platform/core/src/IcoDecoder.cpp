#include "platform/IcoDecoder.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstdint>

#include "platform/SystemColours.h"

namespace tess {

namespace {

using bytes::byteAt;
using bytes::le16;
using bytes::le32;

// Stored blue, green, red.
std::uint32_t bgr(const unsigned char* p) {
    return std::uint32_t{p[2]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[0]} << 16;
}

// Straight alpha over the back colour, rounded to the nearest step.
std::uint32_t blended(const unsigned char* bgra, std::uint32_t back) {
    const std::uint32_t a = bgra[3];
    if (a == 255) {
        return bgr(bgra);
    }
    std::uint32_t c = 0;
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t channel = bgra[2 - i];
        const std::uint32_t behind = (back >> (8 * i)) & 0xFFu;
        c |= ((channel * a + behind * (255 - a) + 127) / 255) << (8 * i);
    }
    return c;
}

}  // namespace

std::string_view icoFirstEntry(std::string_view b) {
    if (b.size() < 22) {
        return {};
    }
    const std::size_t size = le32(b, 6 + 8);
    const std::size_t offset = le32(b, 6 + 12);
    if (offset > b.size() || size > b.size() - offset) {
        return {};
    }
    return b.substr(offset, size);
}

std::optional<Result<Picture>> decodeIcoBitmap(std::string_view b, Colour backColour) {
    const std::string_view data = icoFirstEntry(b);
    if (data.size() < 40 || le32(data, 0) < 40 || data.substr(0, 4) == "\x89PNG") {
        return std::nullopt;
    }
    const std::size_t headerSize = le32(data, 0);
    const auto width = static_cast<std::int32_t>(le32(data, 4));
    const std::int32_t height = static_cast<std::int32_t>(le32(data, 8)) / 2;
    const std::uint32_t bitCount = le16(data, 14);
    if (width <= 0 || height <= 0 ||
        !(bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32)) {
        return std::nullopt;
    }
    std::size_t colours = 0;
    if (bitCount <= 8) {
        colours = le32(data, 32);
        if (colours == 0 || colours > (std::size_t{1} << bitCount)) {
            colours = std::size_t{1} << bitCount;
        }
    }
    const std::size_t colourRow = (std::size_t(width) * bitCount + 31) / 32 * 4;
    const std::size_t maskRow = (std::size_t(width) + 31) / 32 * 4;
    const std::size_t pixelsAt = headerSize + colours * 4;
    const std::size_t maskAt = pixelsAt + colourRow * std::size_t(height);
    if (headerSize > data.size() || maskAt > data.size() ||
        (bitCount != 32 && maskAt + maskRow * std::size_t(height) > data.size())) {
        return std::nullopt;  // not whole: the headers' check refuses it first
    }
    const bool hasMask = maskAt + maskRow * std::size_t(height) <= data.size();

    Result<Picture> made = Picture::createForOverwrite(width, height);
    if (!made) {
        return made;
    }
    Picture& picture = made.value();
    const auto back = static_cast<std::uint32_t>(SystemColours::resolve(backColour) & 0xFFFFFF);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());

    std::uint32_t palette[256] = {};
    for (std::size_t i = 0; i < colours; ++i) {
        palette[i] = bgr(bytes + headerSize + 4 * i);
    }
    bool alpha = false;
    if (bitCount == 32) {
        for (std::int32_t y = 0; y < height && !alpha; ++y) {
            const unsigned char* row = bytes + pixelsAt + colourRow * std::size_t(y);
            for (std::int32_t x = 0; x < width; ++x) {
                if (row[4 * x + 3] != 0) {
                    alpha = true;
                    break;
                }
            }
        }
    }
    const std::uint32_t mask = bitCount <= 8 ? (1u << bitCount) - 1 : 0;
    for (std::int32_t y = 0; y < height; ++y) {
        const std::size_t stored = std::size_t(height - 1 - y);  // rows bottom-up
        const unsigned char* row = bytes + pixelsAt + colourRow * stored;
        std::uint32_t* to = picture.row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            if (bitCount == 32) {
                to[x] = alpha ? blended(row + 4 * x, back) : bgr(row + 4 * x);
            } else if (bitCount == 24) {
                to[x] = bgr(row + 3 * x);
            } else {
                const std::size_t bit = std::size_t(x) * bitCount;
                const std::uint32_t index = (row[bit / 8] >> (8 - bitCount - bit % 8)) & mask;
                to[x] = palette[index];
            }
        }
        if (hasMask && !alpha) {
            const unsigned char* maskBits = bytes + maskAt + maskRow * stored;
            for (std::int32_t x = 0; x < width; ++x) {
                if (((maskBits[x / 8] >> (7 - x % 8)) & 1u) != 0) {
                    to[x] = back;
                }
            }
        }
    }
    return made;
}

}  // namespace tess
