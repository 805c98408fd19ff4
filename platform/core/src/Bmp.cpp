#include "platform/Bmp.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "platform/Text.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESS_BMP_SSSE3 1
#endif

namespace tess {

namespace {

using bytes::le16;
using bytes::le32;

void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// A pixel's blue, green and red bytes in file order, as the low three bytes of a word.
std::uint32_t bgr(std::uint32_t c) {
    return (c >> 16 & 0xFFu) | (c & 0xFF00u) | (c & 0xFFu) << 16;
}

// Walks run-length coded pixel data: it is whole when it draws its rows up to the last one, an
// end-of-line marker (or a jump) at a time, or ends in an end-of-bitmap marker, which leaves the
// rest at palette entry 0 as a jump does. Data that stops before either is cut short.
bool rleComplete(std::string_view b, std::size_t pos, std::int64_t height, bool fourBit) {
    std::int64_t rows = 0;  // rows finished so far; the data draws row number `rows` now
    while (pos + 2 <= b.size()) {
        const auto count = static_cast<unsigned char>(b[pos]);
        const auto code = static_cast<unsigned char>(b[pos + 1]);
        pos += 2;
        if (count > 0) {
            continue;
        }
        if (code == 0) {
            if (++rows >= height) {
                return true;
            }
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (pos + 2 > b.size()) {
                return false;
            }
            rows += static_cast<unsigned char>(b[pos + 1]);
            pos += 2;
            if (rows >= height) {
                return true;
            }
        } else {
            std::size_t bytes = fourBit ? (code + 1u) / 2u : code;
            bytes += bytes & 1u;
            pos += bytes;
        }
    }
    return false;
}

// A stored row: blue, green, red a pixel, then zeros up to a multiple of four bytes.
std::size_t storedRowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

// Pixels x .. n - 1 of a row, one at a time.
void packPixels(const std::uint32_t* from, std::size_t x, std::size_t n, unsigned char* to) {
    // Four pixels (0x00BBGGRR words) make three little-endian words of blue, green, red bytes.
    for (; x + 4 <= n; x += 4, to += 12) {
        const std::uint32_t a = bgr(from[x]);
        const std::uint32_t b = bgr(from[x + 1]);
        const std::uint32_t c = bgr(from[x + 2]);
        const std::uint32_t d = bgr(from[x + 3]);
        const std::uint32_t words[3] = {a | b << 24, b >> 8 | c << 16, c >> 16 | d << 8};
        std::memcpy(to, words, sizeof words);
    }
    for (; x < n; ++x, to += 3) {
        const std::uint32_t c = from[x];
        to[0] = static_cast<unsigned char>(c >> 16);
        to[1] = static_cast<unsigned char>(c >> 8);
        to[2] = static_cast<unsigned char>(c);
    }
}

#if TESS_BMP_SSSE3
// Four pixels a shuffle; each 16-byte store reaches 4 bytes past its 12, so the loop stops
// while the stores stay inside the row's own bytes and the rest goes one pixel at a time.
[[gnu::target("ssse3")]] void packRowSsse3(const std::uint32_t* from, std::size_t n,
                                           unsigned char* to) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    std::size_t x = 0;
    for (; x + 6 <= n; x += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x * 3), _mm_shuffle_epi8(four, order));
    }
    packPixels(from, x, n, to + x * 3);
}
#endif

void packRow(const std::uint32_t* from, int width, unsigned char* to) {
    const auto n = static_cast<std::size_t>(width);
#if TESS_BMP_SSSE3
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) {
        packRowSsse3(from, n, to);
    } else {
        packPixels(from, 0, n, to);
    }
#else
    packPixels(from, 0, n, to);
#endif
    std::memset(to + n * 3, 0, storedRowBytes(width) - n * 3);
}

// The file and info headers of a 24-bit picture of this size.
std::string bmp24Headers(const Picture& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    const auto imageBytes = static_cast<std::uint32_t>(storedRowBytes(picture.width()) * height);
    const std::uint32_t offset = 14 + 40;
    std::string out;
    out.reserve(offset);
    out += "BM";
    put32(out, offset + imageBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, kRgb);
    put32(out, imageBytes);
    put32(out, 0);  // pixels per metre, not recorded
    put32(out, 0);
    put32(out, 0);  // palette entries
    put32(out, 0);
    return out;
}

}  // namespace

std::string encodeBmp24(const Picture& picture) {
    const std::size_t rowBytes = storedRowBytes(picture.width());
    std::string out = bmp24Headers(picture);
    const std::size_t offset = out.size();
    out.resize(offset + rowBytes * static_cast<std::size_t>(picture.height()));
    auto* rows = reinterpret_cast<unsigned char*>(out.data()) + offset;
    for (int y = picture.height() - 1; y >= 0; --y, rows += rowBytes) {
        packRow(picture.row(y), picture.width(), rows);
    }
    return out;
}

int writeBmp24(int fd, const Picture& picture) {
    const std::string headers = bmp24Headers(picture);
    const std::size_t rowBytes = storedRowBytes(picture.width());
    const std::size_t total =
        headers.size() + rowBytes * static_cast<std::size_t>(picture.height());
    // A block small enough to stay in the processor's cache until the system copies it out.
    constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
    const std::size_t blockRows =
        std::max<std::size_t>(1, kBlockBytes / std::max<std::size_t>(rowBytes, 1));
    std::vector<unsigned char> block;
    try {
        block.resize(std::min(blockRows, static_cast<std::size_t>(picture.height())) * rowBytes);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    // "BM" is put in place last; until then the file starts with two zero bytes.
    constexpr std::size_t kMark = 2;
    if (::pwrite(fd, "\0\0", kMark, 0) != static_cast<ssize_t>(kMark)) {
        return errno != 0 ? errno : EIO;
    }
    if (::lseek(fd, static_cast<off_t>(kMark), SEEK_SET) < 0) {
        return errno;
    }
    std::string_view first = std::string_view(headers).substr(kMark);
    int y = block.empty() ? -1 : picture.height() - 1;  // a side of 0: the headers alone
    do {
        std::size_t filled = 0;
        for (; y >= 0 && filled < block.size(); --y, filled += rowBytes) {
            packRow(picture.row(y), picture.width(), block.data() + filled);
        }
        const std::string_view rows(reinterpret_cast<const char*>(block.data()), filled);
        if (const int err = AtomicFile::writeAll(fd, first, rows); err != 0) {
            return err;
        }
        first = {};
    } while (y >= 0);
    if (::ftruncate(fd, static_cast<off_t>(total)) != 0) {
        return errno;
    }
    if (::pwrite(fd, headers.data(), kMark, 0) != static_cast<ssize_t>(kMark)) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

Status savePictureFileBmp(const Picture& picture, const std::string& path) {
    std::string bytes;
    try {
        bytes = encodeBmp24(picture);
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory to save the picture as " + path};
    }
    return writeFileAtomic(path, bytes);
}

std::optional<BmpLayout> inspectBmp(std::string_view b) {
    if (b.size() < 18 || b[0] != 'B' || b[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t offset = le32(b, 10);
    const std::uint32_t headerSize = le32(b, 14);
    BmpLayout layout;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    if (headerSize == 12) {
        if (b.size() < 26) {
            return std::nullopt;
        }
        layout.width = le16(b, 18);
        layout.height = le16(b, 20);
        bitCount = le16(b, 24);
    } else if (headerSize >= 40) {
        if (b.size() < 34) {
            return std::nullopt;
        }
        layout.width = static_cast<std::int32_t>(le32(b, 18));
        layout.height = static_cast<std::int32_t>(le32(b, 22));
        bitCount = le16(b, 28);
        compression = le32(b, 30);
    } else {
        return std::nullopt;
    }
    if (layout.width < 0) {
        return std::nullopt;
    }
    if (layout.height < 0) {
        layout.height = -layout.height;  // rows stored top-down
        layout.topDown = true;
    }
    layout.bitCount = static_cast<int>(bitCount);
    layout.uncompressed = compression == kRgb;
    layout.pixelOffset = offset;
    layout.headerSize = headerSize;
    const bool bitsKnown = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                           bitCount == 24 || bitCount == 32;
    const bool codingKnown = compression == kRgb || (compression == kRle8 && bitCount == 8) ||
                             (compression == kRle4 && bitCount == 4) ||
                             ((compression == kBitFields || compression == kAlphaBitFields) &&
                              (bitCount == 16 || bitCount == 32));
    if (!bitsKnown || !codingKnown) {
        return std::nullopt;  // no decoder of ours reads it, so nothing can tell it is whole
    }
    if (compression == kRle8 || compression == kRle4) {
        layout.complete =
            layout.height == 0 || rleComplete(b, offset, layout.height, compression == kRle4);
    } else {
        // Compared by division: rows times row bytes can overflow for a forged header.
        const std::int64_t rowBytes = (layout.width * bitCount + 31) / 32 * 4;
        const auto available = static_cast<std::int64_t>(b.size()) - std::int64_t{offset};
        layout.complete =
            available >= 0 && (rowBytes == 0 || layout.height <= available / rowBytes);
    }
    return layout;
}

std::optional<Result<Picture>> decodeBmp24(std::string_view b) {
    const std::optional<BmpLayout> layout = inspectBmp(b);
    if (!layout || !layout->complete || !layout->uncompressed || layout->bitCount != 24 ||
        layout->width == 0 || layout->height == 0 ||
        std::uint64_t{layout->pixelOffset} < 14 + std::uint64_t{layout->headerSize}) {
        return std::nullopt;
    }
    Result<Picture> made = Picture::createForOverwrite(static_cast<int>(layout->width),
                                                       static_cast<int>(layout->height));
    if (!made) {
        return made;
    }
    Picture& picture = made.value();
    const auto width = static_cast<std::size_t>(layout->width);
    const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < picture.height(); ++y) {
        const int stored = layout->topDown ? y : picture.height() - 1 - y;
        const auto* from = reinterpret_cast<const unsigned char*>(b.data()) + layout->pixelOffset +
                           static_cast<std::size_t>(stored) * rowBytes;
        std::uint32_t* to = picture.row(y);
        for (std::size_t x = 0; x < width; ++x, from += 3) {
            // Stored blue, green, red.
            to[x] =
                std::uint32_t{from[2]} | std::uint32_t{from[1]} << 8 | std::uint32_t{from[0]} << 16;
        }
    }
    return made;
}

namespace {

// Draws run-length coded rows (bottom-up) into a picture already filled with entry 0.
void drawRuns(std::string_view b, std::size_t pos, bool fourBit, const std::uint32_t* palette,
              Picture& picture) {
    const std::int64_t width = picture.width();
    const std::int64_t height = picture.height();
    std::int64_t x = 0;
    std::int64_t row = 0;  // from the bottom
    const auto put = [&](std::uint32_t index) {
        if (x < width && row < height) {
            picture.row(static_cast<int>(height - 1 - row))[x] = palette[index];
        }
        ++x;
    };
    const auto byteAt = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]));
    };
    while (pos + 2 <= b.size() && row < height) {
        const std::uint32_t count = byteAt(pos);
        const std::uint32_t code = byteAt(pos + 1);
        pos += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count && x < width; ++i) {
                put(fourBit ? (i % 2 == 0 ? code >> 4 : code & 0xFu) : code);
            }
        } else if (code == 0) {
            x = 0;
            ++row;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (pos + 2 > b.size()) {
                return;
            }
            x += byteAt(pos);
            row += byteAt(pos + 1);
            pos += 2;
        } else {
            std::size_t bytes = fourBit ? (code + 1u) / 2u : code;
            for (std::uint32_t i = 0; i < code && pos + (fourBit ? i / 2 : i) < b.size(); ++i) {
                const std::uint32_t v = byteAt(pos + (fourBit ? i / 2 : i));
                put(fourBit ? (i % 2 == 0 ? v >> 4 : v & 0xFu) : v);
            }
            bytes += bytes & 1u;
            pos += bytes;
        }
    }
}

}  // namespace

std::optional<Result<Picture>> decodeBmpIndexed(std::string_view b) {
    const std::optional<BmpLayout> layout = inspectBmp(b);
    if (!layout || !layout->complete || layout->bitCount > 8 || layout->width == 0 ||
        layout->height == 0 ||
        std::uint64_t{layout->pixelOffset} < 14 + std::uint64_t{layout->headerSize}) {
        return std::nullopt;
    }
    const bool runLength = !layout->uncompressed;
    if (runLength && layout->topDown) {
        return std::nullopt;  // the format has no such kind
    }
    const auto bits = static_cast<std::uint32_t>(layout->bitCount);
    // Palette entries: blue, green, red and a spare byte each (three bytes after the old 12-byte
    // header), as many as the header names, or all the bit count allows; never beyond the pixels.
    const std::size_t entryBytes = layout->headerSize == 12 ? 3 : 4;
    std::size_t colours = layout->headerSize >= 40 ? le32(b, 46) : 0;
    if (colours == 0 || colours > (std::size_t{1} << bits)) {
        colours = std::size_t{1} << bits;
    }
    const std::size_t paletteAt = 14 + std::size_t{layout->headerSize};
    colours = std::min(colours, (std::size_t{layout->pixelOffset} - paletteAt) / entryBytes);
    std::uint32_t palette[256] = {};
    for (std::size_t i = 0; i < colours; ++i) {
        const auto* e =
            reinterpret_cast<const unsigned char*>(b.data()) + paletteAt + i * entryBytes;
        palette[i] = std::uint32_t{e[2]} | std::uint32_t{e[1]} << 8 | std::uint32_t{e[0]} << 16;
    }

    Result<Picture> made = Picture::createForOverwrite(static_cast<int>(layout->width),
                                                       static_cast<int>(layout->height));
    if (!made) {
        return made;
    }
    Picture& picture = made.value();
    if (runLength) {
        picture.fill(static_cast<Colour>(palette[0]));
        drawRuns(b, layout->pixelOffset, bits == 4, palette, picture);
        return made;
    }
    const auto width = static_cast<std::size_t>(layout->width);
    const std::size_t rowBytes = (width * bits + 31) / 32 * 4;
    const std::uint32_t mask = (1u << bits) - 1;
    for (int y = 0; y < picture.height(); ++y) {
        const int stored = layout->topDown ? y : picture.height() - 1 - y;
        const auto* from = reinterpret_cast<const unsigned char*>(b.data()) + layout->pixelOffset +
                           static_cast<std::size_t>(stored) * rowBytes;
        std::uint32_t* to = picture.row(y);
        if (bits == 8) {
            for (std::size_t x = 0; x < width; ++x) {
                to[x] = palette[from[x]];
            }
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t bit = x * bits;
            to[x] = palette[(from[bit / 8] >> (8 - bits - bit % 8)) & mask];
        }
    }
    return made;
}

}  // namespace tess
