// Picture loading benchmarks: a 4000 x 3000 photo-like picture as a 24-bit BMP, a JPEG and a
// 256-colour GIF, loaded into a Picture ("Load/<format>/Picture") beside Qt's bare decode of the
// same file into a QImage ("Load/<format>/QImageReader"), and for the JPEG libjpeg-turbo's bare
// decode straight into a picture's layout ("Load/Jpeg/.../LibjpegTurbo"), the baselines; and a
// 35-byte GIF of a 16000 x 16000 screen with a 1 x 1 image. Files live in /dev/shm, so the disk
// does not count; peak_heap_MB is the most the heap held above what it held before.

#include <benchmark/benchmark.h>
#include <unistd.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "HeapCounter.h"
#include "PhotoPicture.h"
#include "platform/Bmp.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/LittleEndian.h"

namespace {

using namespace tess;
using tess::testing::put16;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A GIF of one image of `width` x `height` indices into a table of `colours` (a power of two),
// LZW coded as encoders do.
std::string encodeGif(int screenWidth, int screenHeight, int width, int height,
                      const std::vector<std::uint8_t>& indices, const std::string& table) {
    int bits = 0;
    while ((std::size_t{2} << bits) * 3 < table.size()) {
        ++bits;
    }
    const int minCodeSize = std::max(2, bits + 1);
    std::string out = "GIF89a";
    put16(out, static_cast<unsigned>(screenWidth));
    put16(out, static_cast<unsigned>(screenHeight));
    out += static_cast<char>(0x80 | bits);
    out += '\0';
    out += '\0';
    out += table;
    out += '\x2C';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out += '\0';
    out += static_cast<char>(minCodeSize);

    std::string data;
    std::uint64_t acc = 0;
    int count = 0;
    int codeWidth = minCodeSize + 1;
    const auto send = [&](int code) {
        acc |= static_cast<std::uint64_t>(code) << count;
        count += codeWidth;
        while (count >= 8) {
            data += static_cast<char>(acc & 0xFF);
            acc >>= 8;
            count -= 8;
        }
    };
    const int clear = 1 << minCodeSize;
    std::vector<std::uint16_t> dictionary(std::size_t{4096} * 256, 0);
    int next = clear + 2;
    send(clear);
    int prefix = indices.empty() ? -1 : indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int k = indices[i];
        std::uint16_t& slot = dictionary[static_cast<std::size_t>(prefix) * 256 + k];
        if (slot != 0) {
            prefix = slot;
            continue;
        }
        send(prefix);
        if (next < 4096) {
            slot = static_cast<std::uint16_t>(next++);
            if (next > (1 << codeWidth) && codeWidth < 12) {
                ++codeWidth;
            }
        } else {
            send(clear);
            std::fill(dictionary.begin(), dictionary.end(), 0);
            next = clear + 2;
            codeWidth = minCodeSize + 1;
        }
        prefix = k;
    }
    if (prefix >= 0) {
        send(prefix);
    }
    send(clear + 1);
    if (count > 0) {
        data += static_cast<char>(acc & 0xFF);
    }
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(n);
        out.append(data, at, n);
    }
    out += '\0';
    out += '\x3B';
    return out;
}

// The photo in 256 colours (3 bits of red and green, 2 of blue).
std::string photoGif() {
    const Picture& picture = bench::photoPicture();
    std::string table;
    for (int i = 0; i < 256; ++i) {
        table += static_cast<char>((i >> 5) * 255 / 7);
        table += static_cast<char>(((i >> 2) & 7) * 255 / 7);
        table += static_cast<char>((i & 3) * 255 / 3);
    }
    std::vector<std::uint8_t> indices(std::size_t{kWidth} * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t c = picture.row(y)[x];
            indices[static_cast<std::size_t>(y) * kWidth + x] = static_cast<std::uint8_t>(
                ((c & 0xFF) >> 5) << 5 | ((c >> 8 & 0xFF) >> 5) << 2 | ((c >> 16 & 0xFF) >> 6));
        }
    }
    return encodeGif(kWidth, kHeight, kWidth, kHeight, indices, table);
}

constexpr int kScreenSide = 16000;

struct File {
    std::string path;
    std::size_t bytes = 0;
    File(const char* name, const std::string& data)
        : path("/dev/shm/tessaryn-bench-load-" + std::to_string(::getpid()) + name),
          bytes(data.size()) {
        (void)writeFileAtomic(path, data);
    }
    ~File() { ::unlink(path.c_str()); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
};

std::string qtJpeg() {
    QByteArray jpegData;
    QBuffer buffer(&jpegData);
    buffer.open(QIODevice::WriteOnly);
    toQImage(bench::photoPicture()).save(&buffer, "jpeg", 90);
    return jpegData.toStdString();
}

// The files, made once and removed at the end.
struct Files {
    File bmp{".bmp", encodeBmp24(bench::photoPicture())};
    File jpeg{".jpg", qtJpeg()};
    File gif{".gif", photoGif()};
    File hugeScreenGif{"-screen.gif", encodeGif(kScreenSide, kScreenSide, 1, 1, {0},
                                                std::string("\x10\x20\x30\x40\x50\x60", 6))};
};

const Files& files() {
    static const Files made;
    return made;
}

template <class Load>
void measure(benchmark::State& state, std::size_t fileBytes, std::int64_t pixels, Load load) {
    const std::size_t before = heap::live;
    heap::resetPeak();
    for (auto _ : state) {
        const bool loaded = load();
        if (!loaded) {
            state.SkipWithError("the picture did not load");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * pixels);
    state.counters["file_MB"] = static_cast<double>(fileBytes) / (1 << 20);
    state.counters["peak_heap_MB"] = static_cast<double>(heap::peak - before) / (1 << 20);
}

enum class Kind { Bmp, Jpeg, Gif, HugeScreenGif };

const File& fileOf(Kind kind) {
    const Files& f = files();
    switch (kind) {
        case Kind::Bmp:
            return f.bmp;
        case Kind::Jpeg:
            return f.jpeg;
        case Kind::Gif:
            return f.gif;
        case Kind::HugeScreenGif:
            break;
    }
    return f.hugeScreenGif;
}

int sideOf(Kind kind) {
    return kind == Kind::HugeScreenGif ? kScreenSide : kWidth;
}

std::int64_t pixelsOf(Kind kind) {
    return kind == Kind::HugeScreenGif ? std::int64_t{kScreenSide} * kScreenSide
                                       : std::int64_t{kWidth} * kHeight;
}

void loadPicture(benchmark::State& state, Kind kind) {
    const File& file = fileOf(kind);
    measure(state, file.bytes, pixelsOf(kind), [&] {
        Result<Picture> picture = loadPictureFile(file.path, 0xFFFFFF);
        benchmark::DoNotOptimize(picture);
        return picture.ok() && picture->width() == sideOf(kind);
    });
}

void bareDecode(benchmark::State& state, Kind kind) {
    const File& file = fileOf(kind);
    const QString path = QString::fromStdString(file.path);
    QImageReader::setAllocationLimit(0);
    measure(state, file.bytes, pixelsOf(kind), [&] {
        QImageReader reader(path);
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
        return image.width() == sideOf(kind);
    });
}

// libjpeg-turbo's own decode of the file's bytes (read as the loader reads them) into a picture's
// storage, four bytes a pixel with the spare byte cleared: what a loader in the picture's layout
// cannot beat.
void libjpegDecode(benchmark::State& state) {
    const File& file = fileOf(Kind::Jpeg);
    measure(state, file.bytes, pixelsOf(Kind::Jpeg), [&] {
        const Result<std::string> read = readFileBytes(file.path);
        if (!read) {
            return false;
        }
        const std::string& bytes = *read;
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_RGBX;
        jpeg_start_decompress(&info);
        Result<Picture> made = Picture::createForOverwrite(static_cast<int>(info.output_width),
                                                           static_cast<int>(info.output_height));
        Picture& picture = made.value();
        while (info.output_scanline < info.output_height) {
            const int y = static_cast<int>(info.output_scanline);
            JSAMPROW rows[16];
            const int n = std::min(16, picture.height() - y);
            for (int i = 0; i < n; ++i) {
                rows[i] = reinterpret_cast<JSAMPROW>(picture.row(y + i));
            }
            const auto got =
                static_cast<int>(jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(n)));
            for (int i = 0; i < got; ++i) {
                std::uint32_t* row = picture.row(y + i);
                for (int x = 0; x < picture.width(); ++x) {
                    row[x] &= 0x00FFFFFFu;
                }
            }
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(picture);
        return picture.width() == kWidth;
    });
}

BENCHMARK_CAPTURE(loadPicture, Bmp, Kind::Bmp)
    ->Name("Load/Bmp/4000x3000/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, Bmp, Kind::Bmp)
    ->Name("Load/Bmp/4000x3000/QImageReader")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPicture, Jpeg, Kind::Jpeg)
    ->Name("Load/Jpeg/4000x3000/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, Jpeg, Kind::Jpeg)
    ->Name("Load/Jpeg/4000x3000/QImageReader")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(libjpegDecode)->Name("Load/Jpeg/4000x3000/LibjpegTurbo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPicture, Gif, Kind::Gif)
    ->Name("Load/Gif/4000x3000/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, Gif, Kind::Gif)
    ->Name("Load/Gif/4000x3000/QImageReader")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPicture, HugeScreenGif, Kind::HugeScreenGif)
    ->Name("Load/Gif/16000x16000-screen/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, HugeScreenGif, Kind::HugeScreenGif)
    ->Name("Load/Gif/16000x16000-screen/QImageReader")
    ->Unit(benchmark::kMillisecond);

}  // namespace
