// The effects dialog's previews: each of the 38 entries previewed on the 120 x 100 thumbnail of
// the benchmarks' photo picture, as a click in the list runs it ("Previews/<entry>/120x100"): the
// copy of the clean thumbnail, the scratch picture and the pixel work. A click must answer at
// once; every preview is meant to stay well under 20 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "PhotoPicture.h"
#include "effects/EffectPreview.h"
#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "effects/Thumbnail.h"
#include "platform/DefaultRandom.h"
#include "platform/qt/SystemClock.h"

namespace {

using namespace tess;

const Picture& thumbnail() {
    static const Picture picture =
        fx::makeThumbnail(bench::photoPicture(), fx::kPreviewScratchBack);
    return picture;
}

void Preview(benchmark::State& state, int index) {
    const Picture& clean = thumbnail();
    DefaultRandom random;
    qt::SystemClock clock;
    for (auto _ : state) {
        Result<Picture> previewed = fx::previewEffect(index, clean, random, clock);
        if (!previewed) {
            state.SkipWithError("the preview could not run");
            break;
        }
        benchmark::DoNotOptimize(previewed.value());
    }
}

const bool registered = [] {
    for (int k = 0; k < fx::kEffectCount; ++k) {
        const fx::EffectEntry& entry = fx::effectTable()[static_cast<std::size_t>(k)];
        benchmark::RegisterBenchmark(
            ("Previews/" + std::string(entry.listText) + "/120x100").c_str(), Preview, k)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
