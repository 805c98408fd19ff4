// Resize benchmarks on the 4000 x 3000 photo picture: the resampled double size (8000 x 6000) and
// half size (2000 x 1500). "Resize/Floor" is a plain loop that reads the four neighbours of every
// target pixel and writes one pixel, the baseline the resampling ("Resize/Resample") is compared
// with in the same run; "Resize/Stretch" is the plain variant, and "Resize/Command" the new working
// picture as a command makes it (the cleared scratch picture, then the drawing). Rates are
// megapixels of output per second ("MP/s").

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "PhotoPicture.h"
#include "platform/Blit.h"
#include "platform/Picture.h"
#include "workspace/Resample.h"
#include "workspace/ResizeCommands.h"

namespace {

using namespace tess;

struct Target {
    const char* name;
    int width;
    int height;
};
constexpr Target kDouble{"double", 8000, 6000};
constexpr Target kHalf{"half", 2000, 1500};

void reportRate(benchmark::State& state, const Target& target) {
    state.counters["MP/s"] = benchmark::Counter(target.width * static_cast<double>(target.height) /
                                                    1e6 * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

// Corner-anchored indices, as the resampling maps them, worked out before the timing.
std::vector<int> indices(int sourceSide, int targetSide) {
    std::vector<int> out(static_cast<std::size_t>(targetSide));
    for (int i = 0; i < targetSide; ++i)
        out[static_cast<std::size_t>(i)] =
            static_cast<int>(static_cast<std::int64_t>(i) * (sourceSide - 1) / targetSide);
    return out;
}

void Floor(benchmark::State& state, Target target) {
    const Picture& source = bench::photoPicture();
    Picture out(target.width, target.height);
    const std::vector<int> ix = indices(source.width(), target.width);
    const std::vector<int> iy = indices(source.height(), target.height);
    for (auto _ : state) {
        for (int y = 0; y < target.height; ++y) {
            const std::uint32_t* top = source.row(iy[static_cast<std::size_t>(y)]);
            const std::uint32_t* bottom = source.row(iy[static_cast<std::size_t>(y)] + 1);
            std::uint32_t* row = out.row(y);
            for (int x = 0; x < target.width; ++x) {
                const int c = ix[static_cast<std::size_t>(x)];
                row[x] = (top[c] ^ top[c + 1]) + (bottom[c] ^ bottom[c + 1]);
            }
        }
        benchmark::ClobberMemory();
    }
    reportRate(state, target);
}

void Resample(benchmark::State& state, Target target) {
    const Picture& source = bench::photoPicture();
    Picture out(target.width, target.height);
    for (auto _ : state) {
        drawBilinear(source, out);
        benchmark::ClobberMemory();
    }
    reportRate(state, target);
}

void Stretch(benchmark::State& state, Target target) {
    const Picture& source = bench::photoPicture();
    Picture out(target.width, target.height);
    for (auto _ : state) {
        stretchBlt(out, 0, 0, target.width, target.height, source, 0, 0, source.width(),
                   source.height(), RasterOp::SrcCopy);
        benchmark::ClobberMemory();
    }
    reportRate(state, target);
}

void Command(benchmark::State& state, Target target, ResizeDrawing drawing) {
    const Picture& source = bench::photoPicture();
    for (auto _ : state) {
        Result<Picture> picture =
            resizedPicture(source, {target.width, target.height}, drawing, syscolour::Window);
        benchmark::DoNotOptimize(picture.ok());
    }
    reportRate(state, target);
}

}  // namespace

BENCHMARK_CAPTURE(Floor, double, kDouble)
    ->Name("Resize/Floor/double")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Resample, double, kDouble)
    ->Name("Resize/Resample/double")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, half, kHalf)->Name("Resize/Floor/half")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Resample, half, kHalf)
    ->Name("Resize/Resample/half")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stretch, double, kDouble)
    ->Name("Resize/Stretch/double")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stretch, half, kHalf)->Name("Resize/Stretch/half")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Command, resample_double, kDouble, ResizeDrawing::Resample)
    ->Name("Resize/Command/Resample/double")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Command, resample_half, kHalf, ResizeDrawing::Resample)
    ->Name("Resize/Command/Resample/half")
    ->Unit(benchmark::kMillisecond);
