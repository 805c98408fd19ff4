#include "platform/JpegDecoder.h"
#include "platform/ByteOrder.h"

// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace tess {

namespace {

using bytes::be16;
using bytes::byteAt;

// The orientation tag (0x0112) of the first image directory of an EXIF block ("Exif\0\0", then
// a TIFF header of either byte order).
int exifOrientation(std::string_view exif) {
    if (exif.size() < 6 + 8 || exif.substr(0, 6) != std::string_view("Exif\0\0", 6)) {
        return 1;
    }
    const std::string_view tiff = exif.substr(6);
    const bool little = tiff.substr(0, 2) == "II";
    if (!little && tiff.substr(0, 2) != "MM") {
        return 1;
    }
    const auto u16 = [&](std::size_t at) {
        return little ? byteAt(tiff, at) | byteAt(tiff, at + 1) << 8 : be16(tiff, at);
    };
    const auto u32 = [&](std::size_t at) {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const std::size_t directory = u32(4);
    if (directory > tiff.size() || tiff.size() - directory < 2) {
        return 1;
    }
    const std::size_t count = u16(directory);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = directory + 2 + 12 * i;
        if (at + 12 > tiff.size()) {
            break;
        }
        if (u16(at) == 0x0112 && u16(at + 2) == 3) {  // a SHORT
            const std::uint32_t value = u16(at + 8);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

struct Failure {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    std::string message;
    bool outOfMemory = false;
};

[[noreturn]] void fail(j_common_ptr info) {
    auto* failure = reinterpret_cast<Failure*>(info->err);
    char text[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, text);
    failure->message = text;
    const int code = info->err->msg_code;
    failure->outOfMemory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE ||
                           code == JERR_TFILE_CREATE || code == JERR_VIRTUAL_BUG;
    std::longjmp(failure->jump, 1);
}

// Level -1 is a warning about damaged data; the others are traces, off by default.
void message(j_common_ptr info, int level) {
    if (level < 0) {
        fail(info);
    }
}

void silent(j_common_ptr) {}

// The decoder and what it holds, released however the decode ends (a long jump included: the
// objects on this side of it are trivial).
struct Decompress {
    jpeg_decompress_struct info{};
    Failure failure;
    bool created = false;
    ~Decompress() {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
    }
};

// Where source pixel (x, y) of a w x h picture lands in the picture turned by `orientation`.
struct Turn {
    int orientation;
    int w;
    int h;
    void place(int x, int y, int& tx, int& ty) const {
        switch (orientation) {
            case 2:
                tx = w - 1 - x;
                ty = y;
                break;
            case 3:
                tx = w - 1 - x;
                ty = h - 1 - y;
                break;
            case 4:
                tx = x;
                ty = h - 1 - y;
                break;
            case 5:
                tx = y;
                ty = x;
                break;
            case 6:
                tx = h - 1 - y;
                ty = x;
                break;
            case 7:
                tx = h - 1 - y;
                ty = w - 1 - x;
                break;
            case 8:
                tx = y;
                ty = w - 1 - x;
                break;
            default:
                tx = x;
                ty = y;
                break;
        }
    }
};

// Adobe's CMYK is stored inverted: each channel times black gives the colour, as Qt takes it.
void cmykToRows(const JSAMPLE* from, std::uint32_t* to, int width) {
    for (int x = 0; x < width; ++x, from += 4) {
        const std::uint32_t k = from[3];
        to[x] = (k * from[0] / 255) | (k * from[1] / 255) << 8 | (k * from[2] / 255) << 16;
    }
}

void clearHighBytes(std::uint32_t* row, int width) {
    for (int x = 0; x < width; ++x) {
        row[x] &= 0x00FFFFFFu;
    }
}

}  // namespace

int jpegOrientation(std::string_view b) {
    std::size_t pos = 2;
    while (pos + 4 <= b.size() && byteAt(b, pos) == 0xFF) {
        const std::uint32_t marker = byteAt(b, pos + 1);
        if (marker == 0xDA || marker == 0xD9) {
            break;
        }
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        const std::size_t length = be16(b, pos + 2);
        if (length < 2 || pos + 2 + length > b.size()) {
            break;
        }
        if (marker == 0xE1) {
            const int found = exifOrientation(b.substr(pos + 4, length - 2));
            if (b.substr(pos + 4, 6) == std::string_view("Exif\0\0", 6)) {
                return found;
            }
        }
        pos += 2 + length;
    }
    return 1;
}

namespace {

// Runs one step of the decoder; false when the decoder failed in it and jumped back here. The
// jump leaves only this function's frame and the step's, which hold nothing that needs a
// destructor, and this frame changes nothing after the set jump: what the step fills lives with
// the caller.
template <class Step>
bool guarded(Decompress& d, const Step& step) {
    if (setjmp(d.failure.jump) != 0) {
        return false;
    }
    step();
    return true;
}

// The two steps of a decode, run guarded: nothing in them needs a destructor.
void startDecode(Decompress& d, std::string_view bytes) {
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    // A progressive picture keeps all its coefficients while it decodes, up to 8 bytes a pixel
    // (four channels at full resolution): allow that much and no more.
    d.info.mem->max_memory_to_use = static_cast<long>(
        std::int64_t{d.info.image_width} * d.info.image_height * 8 + (std::int64_t{64} << 20));
    jpeg_start_decompress(&d.info);
}

// Rows decoded into their place in the picture, or through `strip` (rows of `width` pixels) where
// the picture is turned or its colours are converted.
void readRows(Decompress& d, Picture& picture, int orientation, JSAMPLE* strip, int stripRows,
              std::uint32_t* converted) {
    const int w = static_cast<int>(d.info.output_width);
    const int h = static_cast<int>(d.info.output_height);
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    const Turn turn{orientation, w, h};
    JSAMPROW rows[16];
    while (d.info.output_scanline < d.info.output_height) {
        const int y0 = static_cast<int>(d.info.output_scanline);
        if (strip == nullptr) {
            const int n = std::min(16, h - y0);
            for (int i = 0; i < n; ++i) {
                rows[i] = reinterpret_cast<JSAMPROW>(picture.row(y0 + i));
            }
            const auto got =
                static_cast<int>(jpeg_read_scanlines(&d.info, rows, static_cast<JDIMENSION>(n)));
            for (int i = 0; i < got; ++i) {
                clearHighBytes(picture.row(y0 + i), w);
            }
            continue;
        }
        const int n = std::min(stripRows, h - y0);
        for (int i = 0; i < n; ++i) {
            rows[i] = strip + std::size_t(i) * std::size_t(w) * 4;
        }
        const auto got =
            static_cast<int>(jpeg_read_scanlines(&d.info, rows, static_cast<JDIMENSION>(n)));
        for (int i = 0; i < got; ++i) {
            auto* row = reinterpret_cast<std::uint32_t*>(rows[i]);
            if (cmyk) {
                cmykToRows(rows[i], converted, w);
                std::memcpy(row, converted, std::size_t(w) * 4);
            } else {
                clearHighBytes(row, w);
            }
        }
        // Column by column, so the writes of a picture turned a quarter stay within a few lines.
        for (int x = 0; x < w; ++x) {
            for (int i = 0; i < got; ++i) {
                int tx = 0;
                int ty = 0;
                turn.place(x, y0 + i, tx, ty);
                picture.row(ty)[tx] = reinterpret_cast<const std::uint32_t*>(rows[i])[x];
            }
        }
    }
    jpeg_finish_decompress(&d.info);
}

}  // namespace

Result<Picture> decodeJpeg(std::string_view bytes) {
    const int orientation = jpegOrientation(bytes);
    Decompress d;
    d.info.err = jpeg_std_error(&d.failure.manager);
    d.failure.manager.error_exit = &fail;
    d.failure.manager.emit_message = &message;
    d.failure.manager.output_message = &silent;
    const auto failed = [&d]() -> Error {
        if (d.failure.outOfMemory) {
            return Error{errc::OutOfMemory,
                         "not enough memory to decode the picture (" + d.failure.message + ")"};
        }
        return Error{errc::InvalidPicture, "the JPEG data is damaged (" + d.failure.message + ")"};
    };
    if (!guarded(d, [&] { startDecode(d, bytes); })) {
        return failed();
    }
    const int w = static_cast<int>(d.info.output_width);
    const int h = static_cast<int>(d.info.output_height);
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    const bool quarter = orientation >= 5;
    Result<Picture> made = Picture::createForOverwrite(quarter ? h : w, quarter ? w : h);
    if (!made) {
        return made.error();
    }
    int stripRows = 0;
    std::vector<JSAMPLE> strip;
    std::vector<std::uint32_t> converted;
    if (orientation != 1 || cmyk) {
        stripRows = std::min(16, std::max(1, d.info.rec_outbuf_height * 4));
        try {
            strip.resize(std::size_t(stripRows) * std::size_t(w) * 4);
            converted.resize(cmyk ? std::size_t(w) : 0);
        } catch (const std::bad_alloc&) {
            return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
        }
    }
    Picture& picture = made.value();
    if (!guarded(d, [&] {
            readRows(d, picture, orientation, strip.empty() ? nullptr : strip.data(), stripRows,
                     converted.data());
        })) {
        return failed();
    }
    return made;
}

}  // namespace tess
