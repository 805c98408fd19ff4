// Picture loading benchmarks: a 4000 x 3000 photo-like picture as a 24-bit BMP and as a JPEG,
// loaded into a Picture ("Load/<format>/Picture") beside Qt's bare decode of the same file into a
// QImage ("Load/<format>/QImageReader"), the baseline. Files live in /dev/shm, so the disk does
// not count; peak_heap_MB is the most the heap held above what it held before.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdint>
#include <string>

#include "HeapCounter.h"
#include "PhotoPicture.h"
#include "platform/Bmp.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"

namespace {

using namespace tess;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// The two files, made once and removed at the end.
struct Files {
    std::string bmp = "/dev/shm/tessaryn-bench-load-" + std::to_string(::getpid()) + ".bmp";
    std::string jpeg = "/dev/shm/tessaryn-bench-load-" + std::to_string(::getpid()) + ".jpg";
    std::size_t bmpBytes = 0;
    std::size_t jpegBytes = 0;

    Files() {
        const Picture& picture = bench::photoPicture();
        const std::string bmpData = encodeBmp24(picture);
        (void)writeFileAtomic(bmp, bmpData);
        bmpBytes = bmpData.size();
        QByteArray jpegData;
        QBuffer buffer(&jpegData);
        buffer.open(QIODevice::WriteOnly);
        toQImage(picture).save(&buffer, "jpeg", 90);
        (void)writeFileAtomic(jpeg, std::string_view(jpegData.constData(),
                                                     static_cast<std::size_t>(jpegData.size())));
        jpegBytes = static_cast<std::size_t>(jpegData.size());
    }
    ~Files() {
        ::unlink(bmp.c_str());
        ::unlink(jpeg.c_str());
    }
};

const Files& files() {
    static const Files made;
    return made;
}

template <class Load>
void measure(benchmark::State& state, std::size_t fileBytes, Load load) {
    const std::size_t before = heap::live;
    heap::resetPeak();
    for (auto _ : state) {
        const bool loaded = load();
        if (!loaded) {
            state.SkipWithError("the picture did not load");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{kWidth} * kHeight);
    state.counters["file_MB"] = static_cast<double>(fileBytes) / (1 << 20);
    state.counters["peak_heap_MB"] = static_cast<double>(heap::peak - before) / (1 << 20);
}

void loadPicture(benchmark::State& state, bool jpeg) {
    const Files& f = files();
    measure(state, jpeg ? f.jpegBytes : f.bmpBytes, [&] {
        Result<Picture> picture = loadPictureFile(jpeg ? f.jpeg : f.bmp, 0xFFFFFF);
        benchmark::DoNotOptimize(picture);
        return picture.ok() && picture->width() == kWidth;
    });
}

void bareDecode(benchmark::State& state, bool jpeg) {
    const Files& f = files();
    const QString path = QString::fromStdString(jpeg ? f.jpeg : f.bmp);
    QImageReader::setAllocationLimit(0);
    measure(state, jpeg ? f.jpegBytes : f.bmpBytes, [&] {
        QImageReader reader(path);
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
        return image.width() == kWidth;
    });
}

BENCHMARK_CAPTURE(loadPicture, Bmp, false)
    ->Name("Load/Bmp/4000x3000/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, Bmp, false)
    ->Name("Load/Bmp/4000x3000/QImageReader")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPicture, Jpeg, true)
    ->Name("Load/Jpeg/4000x3000/Picture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareDecode, Jpeg, true)
    ->Name("Load/Jpeg/4000x3000/QImageReader")
    ->Unit(benchmark::kMillisecond);

}  // namespace
