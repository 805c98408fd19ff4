// Graphics library benchmarks on libraries of small records that each state a huge picture: GIFs
// of 35 bytes with a 16000 x 16000 screen, and JPEGs of a few hundred bytes whose frame states
// 16384 x 16384 (their scans cut short). "Library/Open/<kind>/<records>" is the browser's load of
// a library file held in memory: the decode and the unpacking of every record and the first
// picture's thumbnail; "Library/Show/<kind>" makes one more thumbnail, as an arrow step does; and
// "Library/OpenDecodingEvery/<kind>/<records>" decodes every record with the loader at the
// unpacking, as the browser did before, the baseline. "Library/OpenBomb/<MiB>" opens a library
// of one small picture beside a record of that many MiB of zeros, which deflate to a few hundred
// KB: what a small hostile file costs. peak_heap_MB is the most the heap held above what it held
// before.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

#include "HeapCounter.h"
#include "platform/Colour.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/GifFixture.h"
#include "projects/GraphicsLibrary.h"
#include "projects/qt/LibraryPreview.h"

namespace {

using namespace tess;

std::string hugeScreenGif() {
    std::string gif = testing::gifFixture(1, 1, {0});
    for (const std::size_t at : {std::size_t{6}, std::size_t{8}}) {
        gif[at] = static_cast<char>(16000 & 0xFF);
        gif[at + 1] = static_cast<char>(16000 >> 8);
    }
    return gif;
}

std::string cutHugeJpeg() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    toQImage(Picture(16, 16, 0x3366CC)).save(&buffer, "JPEG", 90);
    std::string jpeg = bytes.toStdString();
    const std::size_t frame = jpeg.find("\xFF\xC0");
    for (const std::size_t at : {frame + 5, frame + 7}) {
        jpeg[at] = static_cast<char>(16384 >> 8);
        jpeg[at + 1] = static_cast<char>(16384 & 0xFF);
    }
    return jpeg;
}

std::string libraryOf(bool jpegs, int count) {
    std::vector<LibraryRecord> records;
    const std::string data = jpegs ? cutHugeJpeg() : hugeScreenGif();
    for (int i = 0; i < count; ++i)
        records.push_back({"p" + std::to_string(i) + (jpegs ? ".jpg" : ".gif"), data});
    return *writeLibrary(records);
}

Result<Picture> loader(std::string_view bytes) {
    return decodePicture(bytes, syscolour::ButtonFace);
}

Result<Picture> preview(std::string_view bytes) {
    return decodeLibraryPreview(bytes, syscolour::ButtonFace);
}

template <class Work>
void measure(benchmark::State& state, Work work) {
    const std::size_t before = heap::live;
    heap::resetPeak();
    for (auto _ : state) {
        if (!work()) {
            state.SkipWithError("the library gave no picture");
            break;
        }
    }
    state.counters["peak_heap_MB"] = static_cast<double>(heap::peak - before) / (1 << 20);
}

void Open(benchmark::State& state, bool jpegs) {
    const std::string file = libraryOf(jpegs, static_cast<int>(state.range(0)));
    measure(state, [&] {
        Result<std::vector<LibraryPicture>> pictures = unpackLibrary(file, loader, {});
        if (!pictures)
            return false;
        LibraryPicture& first = pictures->front();
        if (first.pending)
            first.thumbnail = pendingThumbnail(first.data, preview);
        benchmark::DoNotOptimize(first.thumbnail);
        return true;
    });
}
BENCHMARK_CAPTURE(Open, HugeGifs, false)
    ->Name("Library/Open/HugeGifs")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, CutJpegs, true)
    ->Name("Library/Open/CutJpegs")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

void OpenBomb(benchmark::State& state) {
    const std::string file = *writeLibrary(
        {{"a.gif", hugeScreenGif()},
         {"bomb.bmp", std::string(static_cast<std::size_t>(state.range(0)) << 20, '\0')}});
    measure(state, [&] { return unpackLibrary(file, loader, {}).ok(); });
}
BENCHMARK(OpenBomb)
    ->Name("Library/OpenBomb")
    ->Arg(512)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void Show(benchmark::State& state, bool jpegs) {
    const std::string data = jpegs ? cutHugeJpeg() : hugeScreenGif();
    measure(state, [&] {
        benchmark::DoNotOptimize(pendingThumbnail(data, preview));
        return true;
    });
}
BENCHMARK_CAPTURE(Show, HugeGif, false)
    ->Name("Library/Show/HugeGif")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Show, CutJpeg, true)->Name("Library/Show/CutJpeg")->Unit(benchmark::kMillisecond);

// The unpacking as it was: every listed record through the loader, its thumbnail made at once.
void OpenDecodingEvery(benchmark::State& state, bool jpegs) {
    const std::string file = libraryOf(jpegs, static_cast<int>(state.range(0)));
    measure(state, [&] {
        Result<std::vector<LibraryRecord>> records = readLibrary(file);
        if (!records)
            return false;
        std::vector<Picture> thumbnails;
        for (const LibraryRecord& record : listedPictures(std::move(records).value())) {
            Result<Picture> picture = loader(record.data);
            if (picture)
                thumbnails.push_back(libraryThumbnail(*picture));
        }
        benchmark::DoNotOptimize(thumbnails);
        return true;
    });
}
BENCHMARK_CAPTURE(OpenDecodingEvery, HugeGifs, false)
    ->Name("Library/OpenDecodingEvery/HugeGifs")
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenDecodingEvery, CutJpegs, true)
    ->Name("Library/OpenDecodingEvery/CutJpegs")
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
