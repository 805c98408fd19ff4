// Project file benchmarks on a 4000 x 3000 picture (a 36 MB bitmap file). The encoder's encode and
// decode of a project body ("Projects/Encoder/...") run beside zlib's own compress and uncompress
// of the same bytes, the baseline; rates are megabytes of plain body per second ("MB/s"). The
// whole save (the bitmap of the working picture, the body, the encoding, the atomic write to
// /dev/shm, and to a folder on disk as in TESSARYN_BENCH_DIR or beside the program) and the whole
// load (read, decode, check, picture decode) are timed as the window runs them, and so is the
// choice of the stored picture file. The save of a changed picture runs at each deflate level on a
// photo, a drawing and a flat picture ("Projects/Level/..."), reporting the file's size beside the
// time.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "PhotoPicture.h"
#include "engine/MosaicOptions.h"
#include "platform/Bmp.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"
#include "projects/FileEncoder.h"
#include "projects/ProjectFile.h"
#include "projects/qt/ProjectPicture.h"

namespace {

using namespace tess;

MosaicOptions options() {
    MosaicOptions o;
    o.OutputPath = "/home/ann/Mosaics/Image1.html";
    o.Title = "Image From /home/ann/photo.jpg";
    o.CustomText = "tessaryn q4";
    return o;
}

const std::string& bitmapFile() {
    static const std::string bytes = encodeBmp24(bench::photoPicture());
    return bytes;
}

const std::string& plainBody() {
    static const std::string body = *writeProjectBody(options(), bitmapFile());
    return body;
}

void reportRate(benchmark::State& state) {
    state.counters["MB/s"] = benchmark::Counter(
        static_cast<double>(plainBody().size()) / 1e6 * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

void Encode(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeFile(std::string_view(plainBody())));
    reportRate(state);
}
BENCHMARK(Encode)->Name("Projects/Encoder/Encode")->Unit(benchmark::kMillisecond);

void ZlibCompress(benchmark::State& state) {
    const std::string& plain = plainBody();
    std::string out(compressBound(plain.size()), '\0');
    for (auto _ : state) {
        uLongf size = out.size();
        compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(plain.data()), plain.size(),
                  Z_DEFAULT_COMPRESSION);
        benchmark::DoNotOptimize(size);
    }
    reportRate(state);
}
BENCHMARK(ZlibCompress)->Name("Projects/Encoder/ZlibCompress")->Unit(benchmark::kMillisecond);

void Decode(benchmark::State& state) {
    const std::string encoded = *EncodeFile(std::string_view(plainBody()));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeFile(std::string_view(encoded)));
    reportRate(state);
}
BENCHMARK(Decode)->Name("Projects/Encoder/Decode")->Unit(benchmark::kMillisecond);

void ZlibUncompress(benchmark::State& state) {
    const std::string& plain = plainBody();
    std::string packed(compressBound(plain.size()), '\0');
    uLongf packedSize = packed.size();
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(plain.data()), plain.size(), Z_DEFAULT_COMPRESSION);
    for (auto _ : state) {
        // A buffer of the plain size per call, as the decoder allocates its result.
        std::string out(plain.size(), '\0');
        uLongf size = out.size();
        uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                   reinterpret_cast<const Bytef*>(packed.data()), packedSize);
        benchmark::DoNotOptimize(out);
    }
    reportRate(state);
}
BENCHMARK(ZlibUncompress)->Name("Projects/Encoder/ZlibUncompress")->Unit(benchmark::kMillisecond);

const std::string kShmProject = "/dev/shm/tessaryn-bench.tpw";

void Save(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        const std::string picture = projectPictureFile(true, "", bench::photoPicture(), 0xFFFFFF);
        Result<std::string> file = writeProjectFile(options(), picture);
        if (!file || !writeFileAtomic(path, *file)) {
            state.SkipWithError("the save failed");
            return;
        }
    }
    std::remove(path.c_str());
    reportRate(state);
}
BENCHMARK_CAPTURE(Save, shm, kShmProject)
    ->Name("Projects/Save/4000x3000/ShmFile")
    ->Unit(benchmark::kMillisecond);
// On disk the atomic writer's flush of file and folder is part of the save.
BENCHMARK_CAPTURE(Save, disk, bench::benchFolder() + "/tessaryn-bench.tpw")
    ->Name("Projects/Save/4000x3000/DiskFile")
    ->Unit(benchmark::kMillisecond);

void Load(benchmark::State& state) {
    if (!writeFileAtomic(kShmProject, *writeProjectFile(options(), bitmapFile()))) {
        state.SkipWithError("no project to load");
        return;
    }
    for (auto _ : state) {
        Result<std::string> file = readProjectFile(kShmProject);
        Result<LoadedProject> loaded = file ? readProject(*file) : file.error();
        if (!loaded) {
            state.SkipWithError("the load failed");
            return;
        }
        benchmark::DoNotOptimize(decodePicture(loaded->picture, 0xFFFFFF));
    }
    reportRate(state);
}
BENCHMARK(Load)->Name("Projects/Load/4000x3000/ShmFile")->Unit(benchmark::kMillisecond);

// The stored picture: a bitmap of the working picture, or the loaded file after the check that it
// still decodes to what is shown.
void StoredPicture(benchmark::State& state, bool loadedFile) {
    const std::string path = "/dev/shm/tessaryn-bench.bmp";
    if (!writeFileAtomic(path, bitmapFile())) {
        state.SkipWithError("no picture file");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            projectPictureFile(!loadedFile, path, bench::photoPicture(), 0xFFFFFF));
}
BENCHMARK_CAPTURE(StoredPicture, Bitmap, false)
    ->Name("Projects/StoredPicture/Bitmap")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StoredPicture, LoadedFile, true)
    ->Name("Projects/StoredPicture/LoadedFile")
    ->Unit(benchmark::kMillisecond);

// A drawing: a white page with filled boxes and lines of a few colours.
const Picture& drawingPicture() {
    static const Picture picture = [] {
        Picture p(4000, 3000, 0xFFFFFF);
        const Colour inks[] = {0x202020, 0x3050C0, 0xC04020, 0x30A040, 0xE0C040};
        for (int i = 0; i < 400; ++i) {
            const int x = (i * 7919) % 3800;
            const int y = (i * 104729) % 2800;
            const Colour ink = inks[i % 5];
            if (i % 3 == 0)
                p.fillBox(x, y, x + 20 + i % 180, y + 15 + i % 150, ink);
            else
                p.line(x, y, (x * 13 + 900) % 4000, (y * 7 + 500) % 3000, ink);
        }
        return p;
    }();
    return picture;
}

const Picture& flatPicture() {
    static const Picture picture(4000, 3000, 0x808080);
    return picture;
}

// The save of a changed picture at a deflate level: the bitmap, the body, the encoding, the write.
void SaveAtLevel(benchmark::State& state, const Picture& (*picture)()) {
    const int level = static_cast<int>(state.range(0));
    std::size_t fileSize = 0;
    for (auto _ : state) {
        const std::string stored = projectPictureFile(true, "", picture(), 0xFFFFFF);
        Result<std::string> body = writeProjectBody(options(), stored);
        Result<std::string> encoded =
            body ? EncodeFile(std::string_view(*body), level) : body.error();
        if (!encoded || !writeFileAtomic(kShmProject, "TPF20053" + *encoded + "\r\n")) {
            state.SkipWithError("the save failed");
            return;
        }
        fileSize = encoded->size() + 10;
    }
    state.counters["file_MB"] = static_cast<double>(fileSize) / 1e6;
}
BENCHMARK_CAPTURE(SaveAtLevel, Photo, &bench::photoPicture)
    ->Name("Projects/Level/Photo")
    ->DenseRange(1, 9)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveAtLevel, Drawing, &drawingPicture)
    ->Name("Projects/Level/Drawing")
    ->DenseRange(1, 9)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveAtLevel, Flat, &flatPicture)
    ->Name("Projects/Level/Flat")
    ->DenseRange(1, 9)
    ->Unit(benchmark::kMillisecond);

}  // namespace
