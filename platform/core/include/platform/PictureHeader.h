#pragma once

#include <cstdint>
#include <string_view>

namespace tess {

enum class PictureFormat { Unknown, Bmp, Gif, Jpeg, Ico };

// What the headers of a picture file say before a single pixel is decoded: the format, decided
// by the first bytes; the picture's size; whether the headers could be read at all; and whether
// every byte they promise is there. Decoders fill the missing part of a damaged file and report
// success, so a loader refuses a file that is not whole before it decodes anything.
//   BMP   the pixel rows the header promises; run-length data must draw its rows to the last
//   GIF   every block whole up to the end of the first image's data, which is long enough to
//         fill the image (LZW gives no more than 16384 pixels a byte)
//   JPEG  every segment whole, the scans' data ending in a marker, up to the end-of-image marker
//   ICO   the directory, and the first entry's data inside the file as its own headers promise
//         (a 32-bit entry may end with its colour rows, without an AND mask)
struct PictureLayout {
    PictureFormat format = PictureFormat::Unknown;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool readable = false;  // the headers were there and made sense
    bool complete = false;  // every byte they promise is present
};

// Never reads outside `bytes` and takes time in proportion to their length.
PictureLayout inspectPicture(std::string_view bytes);

// "BMP", "GIF", "JPEG", "ICO"; empty for Unknown.
std::string_view formatName(PictureFormat format);

}  // namespace tess
