#include "platform/PictureHeader.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/Bmp.h"

namespace tess {

namespace {

using bytes::be16;
using bytes::be32;
using bytes::byteAt;
using bytes::le16;
using bytes::le32;

bool startsWith(std::string_view b, std::string_view prefix) {
    return b.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1A\n", 8);

PictureLayout inspectBmpFile(std::string_view b) {
    PictureLayout layout{PictureFormat::Bmp};
    if (const std::optional<BmpLayout> bmp = inspectBmp(b)) {
        layout.width = bmp->width;
        layout.height = bmp->height;
        layout.readable = true;
        layout.complete = bmp->complete;
    }
    return layout;
}

// Skips a chain of GIF data sub-blocks (a length byte, that many bytes, up to a length of 0),
// adding the bytes they carry to `carried`. False when the chain runs past the end.
bool skipSubBlocks(std::string_view b, std::size_t& pos, std::size_t& carried) {
    while (pos < b.size()) {
        const std::size_t length = byteAt(b, pos);
        ++pos;
        if (length == 0) {
            return true;
        }
        pos += length;
        carried += length;
    }
    return false;
}

// The most pixels one byte of LZW data can give: a code is at least 2 bits wide and stands for
// at most 4096 pixels, the size of the code table. Data that cannot fill its image was cut, and
// the decoder would fill the rest and report success.
constexpr std::int64_t kMaxGifPixelsPerByte = 4 * 4096;

std::size_t colourTableBytes(std::uint32_t flags) {
    return (flags & 0x80u) != 0 ? 3u * (2u << (flags & 7u)) : 0u;
}

// The picture is the logical screen; a decoder grows it to hold a first image that reaches
// beyond the screen, so both count for its size.
PictureLayout inspectGif(std::string_view b) {
    PictureLayout layout{PictureFormat::Gif};
    if (b.size() < 13) {
        return layout;
    }
    layout.width = le16(b, 6);
    layout.height = le16(b, 8);
    layout.readable = true;
    std::size_t pos = 13 + colourTableBytes(byteAt(b, 10));
    while (pos < b.size()) {
        const std::uint32_t introducer = byteAt(b, pos);
        if (introducer == 0x3B) {  // trailer before any image
            break;
        }
        if (introducer == 0x21) {  // extension: label, then sub-blocks
            pos += 2;
            std::size_t ignored = 0;
            if (!skipSubBlocks(b, pos, ignored)) {
                break;
            }
            continue;
        }
        if (introducer != 0x2C) {
            break;  // not a block a decoder knows: the rest is unreadable
        }
        if (pos + 10 > b.size()) {
            break;
        }
        const std::int64_t imagePixels = std::int64_t{le16(b, pos + 5)} * le16(b, pos + 7);
        layout.width = std::max<std::int64_t>(layout.width, le16(b, pos + 1) + le16(b, pos + 5));
        layout.height = std::max<std::int64_t>(layout.height, le16(b, pos + 3) + le16(b, pos + 7));
        pos += 10 + colourTableBytes(byteAt(b, pos + 9)) + 1;  // the LZW code size follows
        std::size_t data = 0;
        // Only the first image is shown: what follows it (the trailer, further frames) may be
        // missing, as other decoders let it be.
        layout.complete = skipSubBlocks(b, pos, data) &&
                          static_cast<std::int64_t>(data) * kMaxGifPixelsPerByte >= imagePixels;
        break;
    }
    return layout;
}

bool isFrameMarker(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureLayout inspectJpeg(std::string_view b) {
    PictureLayout layout{PictureFormat::Jpeg};
    std::size_t pos = 2;
    bool sawFrame = false;
    bool sawScan = false;
    while (pos < b.size()) {
        if (byteAt(b, pos) != 0xFF) {
            return layout;  // bytes where a marker belongs: the file is damaged
        }
        while (pos < b.size() && byteAt(b, pos) == 0xFF) {
            ++pos;  // fill bytes
        }
        if (pos >= b.size()) {
            break;
        }
        const std::uint32_t marker = byteAt(b, pos);
        ++pos;
        if (marker == 0xD9) {  // end of image
            layout.complete = sawScan;
            return layout;
        }
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            continue;  // markers without a segment
        }
        if (marker == 0xD8 || marker == 0x00) {
            layout.readable = false;
            return layout;
        }
        if (pos + 2 > b.size()) {
            break;
        }
        const std::size_t length = be16(b, pos);
        if (length < 2) {
            layout.readable = false;
            return layout;
        }
        const std::size_t segment = pos + 2;
        if (pos + length > b.size()) {
            // A cut inside the frame header still tells the size when enough of it is there.
            if (!sawFrame && isFrameMarker(marker) && segment + 5 <= b.size()) {
                layout.height = be16(b, segment + 1);
                layout.width = be16(b, segment + 3);
                layout.readable = layout.width > 0 && layout.height > 0;
            }
            break;
        }
        if (isFrameMarker(marker) && !sawFrame) {
            if (length < 8) {
                return layout;
            }
            layout.height = be16(b, segment + 1);
            layout.width = be16(b, segment + 3);
            // A height of 0 defers it to a later marker, which the decoder does not read.
            layout.readable = layout.width > 0 && layout.height > 0;
            if (!layout.readable) {
                return layout;
            }
            sawFrame = true;
        }
        pos += length;
        if (marker == 0xDA) {  // start of scan: coded data up to the next marker but a restart
            if (!sawFrame) {
                return layout;
            }
            sawScan = true;
            for (;;) {
                const void* found = std::memchr(b.data() + pos, 0xFF, b.size() - pos);
                if (found == nullptr) {
                    pos = b.size();
                    break;
                }
                pos = static_cast<std::size_t>(static_cast<const char*>(found) - b.data());
                if (pos + 1 >= b.size()) {
                    pos = b.size();
                    break;
                }
                const std::uint32_t next = byteAt(b, pos + 1);
                if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
                    pos += next == 0xFF ? 1 : 2;  // a stuffed byte, a restart, or fill
                    continue;
                }
                break;
            }
        }
    }
    return layout;  // cut short before the end-of-image marker
}

// The first entry of an icon directory, whose picture a decoder takes: a BMP without its file
// header (twice as high: the colour rows, then the mask rows) or a whole PNG file.
PictureLayout inspectIco(std::string_view b) {
    PictureLayout layout{PictureFormat::Ico};
    const std::size_t count = b.size() >= 6 ? le16(b, 4) : 0;
    if (count == 0) {
        return layout;
    }
    if (6 + 16 * count > b.size()) {
        layout.readable = b.size() >= 22;
        if (layout.readable) {
            layout.width = byteAt(b, 6) == 0 ? 256 : byteAt(b, 6);
            layout.height = byteAt(b, 7) == 0 ? 256 : byteAt(b, 7);
        }
        return layout;
    }
    const std::size_t size = le32(b, 6 + 8);
    const std::size_t offset = le32(b, 6 + 12);
    layout.width = byteAt(b, 6) == 0 ? 256 : byteAt(b, 6);
    layout.height = byteAt(b, 7) == 0 ? 256 : byteAt(b, 7);
    if (offset > b.size() || size > b.size() - offset) {
        // The directory still tells the size; the entry's own header may say more.
        layout.readable = true;
        return layout;
    }
    const std::string_view data = b.substr(offset, size);
    if (startsWith(data, kPngSignature)) {
        if (data.size() < 8 + 8 + 13 || data.substr(12, 4) != "IHDR") {
            return layout;
        }
        layout.width = std::max<std::int64_t>(layout.width, be32(data, 16));
        layout.height = std::max<std::int64_t>(layout.height, be32(data, 20));
        layout.readable = true;
        // Chunks (length, type, data, check sum) up to the closing IEND.
        std::size_t pos = 8;
        while (pos + 12 <= data.size()) {
            const std::size_t length = be32(data, pos);
            if (data.substr(pos + 4, 4) == "IEND") {
                layout.complete = true;
                break;
            }
            if (length > data.size() - pos - 12) {
                break;
            }
            pos += 12 + length;
        }
        return layout;
    }
    if (data.size() < 40 || le32(data, 0) < 40) {
        return layout;
    }
    const auto width = static_cast<std::int32_t>(le32(data, 4));
    const auto doubleHeight = static_cast<std::int32_t>(le32(data, 8));
    const std::uint32_t bitCount = le16(data, 14);
    if (width <= 0 || doubleHeight <= 0 ||
        !(bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32)) {
        return layout;
    }
    const std::int64_t height = doubleHeight / 2;
    layout.width = std::max<std::int64_t>(layout.width, width);
    layout.height = std::max<std::int64_t>(layout.height, height);
    layout.readable = true;
    std::uint64_t colours = bitCount <= 8 ? le32(data, 32) : 0;
    if (bitCount <= 8 && (colours == 0 || colours > (1u << bitCount))) {
        colours = 1u << bitCount;
    }
    const std::uint64_t colourRow = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t maskRow = (std::uint64_t(width) + 31) / 32 * 4;
    // 32-bit entries carry their transparency in the alpha bytes, and some writers leave out the
    // AND mask behind them: the entry ends with its colour rows or holds the whole mask.
    const std::uint64_t colourEnd = le32(data, 0) + colours * 4 + colourRow * std::uint64_t(height);
    const std::uint64_t maskEnd = colourEnd + maskRow * std::uint64_t(height);
    layout.complete = maskEnd <= data.size() || (bitCount == 32 && colourEnd == data.size());
    return layout;
}

}  // namespace

PictureLayout inspectPicture(std::string_view b) {
    if (startsWith(b, "BM")) {
        return inspectBmpFile(b);
    }
    if (startsWith(b, "GIF87a") || startsWith(b, "GIF89a")) {
        return inspectGif(b);
    }
    if (startsWith(b, "\xFF\xD8")) {
        return inspectJpeg(b);
    }
    if (b.size() >= 6 && le16(b, 0) == 0 && (le16(b, 2) == 1 || le16(b, 2) == 2) &&
        le16(b, 4) > 0) {
        return inspectIco(b);
    }
    return {};
}

std::string_view formatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp:
            return "BMP";
        case PictureFormat::Gif:
            return "GIF";
        case PictureFormat::Jpeg:
            return "JPEG";
        case PictureFormat::Ico:
            return "ICO";
        case PictureFormat::Unknown:
            break;
    }
    return {};
}

}  // namespace tess
