// Image effect benchmarks on a 4000 x 3000 picture. "Effects/Floor" is a plain loop that reads and
// writes every pixel once, in place, the baseline each effect's pixel work
// ("Effects/Effect/<name>") is compared with in the same run; "Effects/FloorIntoScratch" writes
// its result into a second picture instead. "Effects/UndoCopy" is the undo copy every effect writes
// first (a bitmap file, to /dev/shm and to TESSARYN_BENCH_DIR or beside the program), and
// "Effects/Frame" the clearing of the scratch picture before the pixel work. Rates are megapixels
// per second ("MP/s").

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchFolder.h"
#include "PhotoPicture.h"
#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "effects/FlipInvert.h"
#include "effects/Thumbnail.h"
#include "platform/DefaultRandom.h"
#include "platform/Picture.h"
#include "platform/qt/SystemClock.h"
#include "workspace/UndoStore.h"

namespace {

using namespace tess;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr double kMegapixels = kWidth * kHeight / 1e6;

const Picture& photo() {
    return bench::photoPicture();
}

void reportRate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(
        kMegapixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Floor(benchmark::State& state) {
    Picture picture = photo();
    for (auto _ : state) {
        for (int y = 0; y < picture.height(); ++y) {
            std::uint32_t* row = picture.row(y);
            for (int x = 0; x < picture.width(); ++x)
                row[x] = row[x] ^ 0x010101u;
        }
        benchmark::ClobberMemory();
    }
    reportRate(state);
}
BENCHMARK(Floor)->Name("Effects/Floor/4000x3000")->Unit(benchmark::kMillisecond);

// The same loop writing into a second picture, as the effects that draw into the scratch
// picture and the tools do: a second 48 MB stream, whose lines the processor also reads before
// it writes them. Their ratio to this shows the work beyond the unavoidable.
void FloorIntoScratch(benchmark::State& state) {
    const Picture& picture = photo();
    Picture scratch(kWidth, kHeight, fx::kMainScratchBack);
    for (auto _ : state) {
        for (int y = 0; y < picture.height(); ++y) {
            const std::uint32_t* in = picture.row(y);
            std::uint32_t* out = scratch.row(y);
            for (int x = 0; x < picture.width(); ++x)
                out[x] = in[x] ^ 0x010101u;
        }
        benchmark::ClobberMemory();
    }
    reportRate(state);
}
BENCHMARK(FloorIntoScratch)
    ->Name("Effects/FloorIntoScratch/4000x3000")
    ->Unit(benchmark::kMillisecond);

// The pixel work alone, on pictures made once: in-place effects go on working on their own
// result, which costs the same as the first run.
void Effect(benchmark::State& state, fx::EffectStyle style, fx::EffectFunction function) {
    Picture picture = photo();
    Picture scratch = style == fx::EffectStyle::InPlace
                          ? Picture()
                          : Picture(kWidth, kHeight, fx::kMainScratchBack);
    DefaultRandom random;
    qt::SystemClock clock;
    fx::EffectContext context{picture, scratch, random, clock};
    for (auto _ : state) {
        benchmark::DoNotOptimize(function(context));
        benchmark::ClobberMemory();
    }
    reportRate(state);
}

// The frame readies the scratch picture the window keeps from one run to the next.
void Frame(benchmark::State& state, fx::EffectStyle style) {
    Picture working = photo();
    Picture scratch(kWidth, kHeight, fx::kMainScratchBack);
    for (auto _ : state) {
        Result<fx::EffectRun> run =
            fx::EffectRun::prepare(style, working, scratch, fx::kMainScratchBack);
        benchmark::DoNotOptimize(run.ok());
        benchmark::ClobberMemory();
    }
    reportRate(state);
}

using bench::benchFolder;

void UndoCopy(benchmark::State& state, const std::string& folder) {
    UndoStore undo(folder);
    for (auto _ : state) {
        if (!undo.save(photo())) {
            state.SkipWithError("the undo copy could not be written");
            break;
        }
    }
    undo.deleteFiles();
    reportRate(state);
}

void Thumbnail(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(fx::makeThumbnail(photo(), fx::kPreviewScratchBack));
    state.counters["source MP/s"] = benchmark::Counter(
        kMegapixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

const bool registered = [] {
    for (const fx::EffectEntry& entry : fx::effectTable()) {
        if (entry.apply == nullptr)
            continue;
        benchmark::RegisterBenchmark(
            ("Effects/Effect/" + std::string(entry.displayName) + "/4000x3000").c_str(), Effect,
            entry.style, entry.apply)
            ->Unit(benchmark::kMillisecond);
    }
    const std::pair<const char*, fx::EffectFunction> tools[] = {{"Flip H", fx::flipHorizontal},
                                                                {"Flip V", fx::flipVertical},
                                                                {"Invert", fx::invertColours}};
    for (const auto& [name, function] : tools) {
        benchmark::RegisterBenchmark(("Effects/Tool/" + std::string(name) + "/4000x3000").c_str(),
                                     Effect, fx::EffectStyle::Scratch, function)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("Effects/Frame/InPlace/4000x3000", Frame, fx::EffectStyle::InPlace)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Effects/Frame/Scratch/4000x3000", Frame, fx::EffectStyle::Scratch)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Effects/UndoCopy/ShmFile/4000x3000", UndoCopy,
                                 std::string("/dev/shm"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Effects/UndoCopy/DiskFile/4000x3000", UndoCopy, benchFolder())
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Effects/Thumbnail/4000x3000", Thumbnail)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
