#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The whole file of a 24-bit uncompressed BMP: file and info headers, rows bottom-up, each row
// padded to a multiple of four bytes. A picture with a side of 0 gives the headers alone.
std::string encodeBmp24(const Picture& picture);
// Makes the open file `fd` hold the bytes of encodeBmp24(picture), written from its start a block
// of rows at a time, so the whole file is never held in memory, and cut to their length. The two
// bytes that mark a bitmap come last, so a file written over in place that stops half-way never
// reads as a whole bitmap. Returns 0 or the errno of the failure.
int writeBmp24(int fd, const Picture& picture);

// Writes encodeBmp24(picture) to `path` atomically: on failure the old file stays as it was.
Status savePictureFileBmp(const Picture& picture, const std::string& path);

// What the headers of a BMP file promise, so a loader can refuse a file cut short (decoders fill
// the missing rows with black and report success) and take a picture with a side of 0.
struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // number of rows, whichever way they are stored
    bool complete = false;    // every byte the headers promise is present
    bool topDown = false;     // the first row stored is the top one
    int bitCount = 0;
    bool uncompressed = false;      // plain rows of pixels, no run-length coding or bit fields
    std::uint32_t pixelOffset = 0;  // where the rows start
    std::uint32_t headerSize = 0;   // of the info header after the 14 bytes of the file header
};
// Empty when the bytes do not start with BMP headers of a known kind, or with a negative width, a
// bit count or coding that no decoder reads.
std::optional<BmpLayout> inspectBmp(std::string_view bytes);

// The pixels of a whole uncompressed 24-bit BMP (rows either way up, the kind encodeBmp24
// writes), read straight into a picture. Empty for any other kind or a file that is not whole,
// which a general decoder takes; errc::OutOfMemory when the picture cannot be had.
std::optional<Result<Picture>> decodeBmp24(std::string_view bytes);

// The pixels of a whole BMP of 1, 4 or 8 bits a pixel through its palette, plain or run-length
// coded, read straight into a picture. Run-length data leaves what it does not draw (after a
// jump, an end of line or the end of the bitmap) at palette entry 0; an index beyond the palette
// is black. Empty for any other kind or a file that is not whole; errc::OutOfMemory when the
// picture cannot be had.
std::optional<Result<Picture>> decodeBmpIndexed(std::string_view bytes);

}  // namespace tess
