// Mosaic page writer benchmarks. Names read Kind/Mode/WidthxHeight/Target/Priority, e.g.
// "Engine/SmartText/1000x1000/ShmFile/High". "Bare" is a plain formatting loop with a hex table,
// the baseline the engine's figures are compared with in the same run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <string>

#include "BenchFolder.h"
#include "HeapCounter.h"
#include "StartedCase.h"
#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "engine/PageFormat.h"
#include "engine/PageSink.h"
#include "platform/Clipboard.h"
#include "platform/DefaultRandom.h"
#include "platform/Picture.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/SystemClock.h"

namespace {

using namespace tess;

// Smooth colour gradients with a little noise, like a photo: nearly every pixel differs from
// its left neighbour, so nearly every cell opens a colour run of its own.
const Picture& photoLike(int width, int height) {
    static std::map<std::pair<int, int>, Picture> made;
    auto [it, added] = made.try_emplace({width, height}, width, height);
    if (added) {
        Picture& picture = it->second;
        std::uint32_t noise = 12345;
        for (int y = 0; y < height; ++y) {
            std::uint32_t* row = picture.row(y);
            for (int x = 0; x < width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                // Each channel gets its own jitter of -4..4.
                const int jr = static_cast<int>((noise >> 8) % 9) - 4;
                const int jg = static_cast<int>((noise >> 16) % 9) - 4;
                const int jb = static_cast<int>((noise >> 24) % 9) - 4;
                const int r = 255 * x / width + jr;
                const int g = 255 * y / height + jg;
                const int b = 128 + (x - y) * 127 / (width + height) + jb;
                row[x] = static_cast<std::uint32_t>(rgb(r, g, b));
            }
        }
    }
    return it->second;
}

// The disk file goes to TESSARYN_BENCH_DIR, or beside the benchmark program.
using bench::benchFolder;

enum class Target { Discard, DevNull, ShmFile, DiskFile, Clipboard };

const char* targetName(Target target) {
    switch (target) {
        case Target::Discard:
            return "Discard";
        case Target::DevNull:
            return "DevNull";
        case Target::ShmFile:
            return "ShmFile";
        case Target::DiskFile:
            return "DiskFile";
        case Target::Clipboard:
            return "Clipboard";
    }
    return "";
}

std::string targetPath(Target target) {
    switch (target) {
        case Target::DevNull:
            return "/dev/null";
        case Target::ShmFile:
            return "/dev/shm/tessaryn-bench.html";
        case Target::DiskFile:
            return benchFolder() + "/tessaryn-bench.html";
        default:
            return {};
    }
}

class DiscardSink final : public PageSink {
  public:
    Status write(std::string_view piece) override {
        benchmark::DoNotOptimize(piece.data());
        bytes += piece.size();
        return {};
    }
    std::size_t bytes = 0;
};

// A clipboard that takes the text and drops it, so the handover is measured, not its storage.
class DiscardClipboard final : public Clipboard {
  public:
    void clear() override {}
    void setText(const std::string& utf8) override { benchmark::DoNotOptimize(utf8.data()); }
    std::string text() const override { return {}; }
    bool hasText() const override { return false; }
    void setPicture(const Picture&) override {}
    std::optional<Picture> picture() const override { return std::nullopt; }
    bool hasPicture() const override { return false; }
};

// The window's hooks: at "Normal" priority the platform's rate-limited yield after every cell.
class WindowHooks final : public RunHooks {
  public:
    explicit WindowHooks(EventPump& pump) : pump_(pump) {}
    void afterCell(std::int32_t cells) override {
        pump_.yield();
        progressPos = cells;
    }
    void afterRow(std::int32_t cells) override {
        progressPos = cells;
        pump_.doEvents();
    }
    bool cancelRequested() override { return false; }
    std::int32_t progressPos = 0;

  private:
    EventPump& pump_;
};

// `held` is the memory of a clipboard page: a run writes into the one kept from the run before,
// which the heap held already, so the page counts whether or not the run grew the heap for it.
void report(benchmark::State& state, const Picture& picture, std::size_t pageBytes,
            std::size_t heapBefore, std::size_t held = 0) {
    const auto cells = static_cast<std::int64_t>(picture.width()) * picture.height();
    state.SetItemsProcessed(state.iterations() * cells);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pageBytes));
    state.counters["page_MB"] = static_cast<double>(pageBytes) / 1e6;
    state.counters["peak_heap_KB"] =
        static_cast<double>(std::max<std::size_t>(heap::peak - heapBefore, held)) / 1024.0;
}

void engineRun(benchmark::State& state, int mode, int width, int height, Target target,
               RunPriority priority, int callsPerCheck) {
    const Picture& picture = photoLike(width, height);
    MosaicOptions options;
    options.Mode = static_cast<std::int16_t>(mode);
    options.CustomText = "The quick brown fox jumps over the lazy dog.";
    options.Spacer = 0;
    options.FontSize = 3;
    options.Title = "Image From bench";
    options.Priority = priority;
    qt::SystemClock clock;
    DefaultRandom random;
    qt::QtEventPump pump(qt::QtEventPump::kDefaultInterval, {}, callsPerCheck);
    WindowHooks hooks(pump);
    const RunServices services{clock, random, nullptr};
    DiscardSink sink;
    DiscardClipboard clipboard;
    const MosaicTarget runTarget =
        target == Target::Discard     ? MosaicTarget::sink(sink, page::Seams::File)
        : target == Target::Clipboard ? MosaicTarget::clipboard(&clipboard)
                                      : MosaicTarget::file(targetPath(target));
    // The page's size, from one run into the discarding sink with the target's seams.
    DiscardSink sizer;
    const page::Seams seams = runTarget.seams();
    if (!runMosaic(picture, options, MosaicTarget::sink(sizer, seams), services, hooks)) {
        state.SkipWithError("the sizing run failed");
        return;
    }
    const std::size_t heapBefore = heap::live;
    heap::resetPeak();
    std::size_t held = 0;
    for (auto _ : state) {
        Result<RunResult> result = runMosaic(picture, options, runTarget, services, hooks);
        if (!result) {
            state.SkipWithError(result.error().reason.c_str());
            return;
        }
        benchmark::DoNotOptimize(result->clipboardText.data());
        if (result->clipboardPage != nullptr) {
            held = result->clipboardPage->capacity();
        }
    }
    if (target == Target::ShmFile || target == Target::DiskFile) {
        std::error_code ignored;
        std::filesystem::remove(targetPath(target), ignored);
    }
    report(state, picture, sizer.bytes, heapBefore, held);
}

// The baseline: a bare loop that formats a Smart Text page with a hex table into a 64 KiB buffer
// and writes the buffer out whenever it fills.
void bareRun(benchmark::State& state, int width, int height, Target target) {
    const Picture& picture = photoLike(width, height);
    MosaicOptions options;
    options.FontSize = 3;
    options.Title = "Image From bench";
    const std::string head = page::head(options) + "\r\n";
    const std::string trailer = std::string(page::trailer(true, false)) + "\r\n";
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<char, 512> hex{};
    for (int i = 0; i < 256; ++i) {
        hex[2 * i] = kDigits[i >> 4];
        hex[2 * i + 1] = kDigits[i & 15];
    }
    static constexpr char kRamp[] = " !}$%&@";
    std::array<char, 256> smart{};
    for (int m = 0; m < 256; ++m) {
        smart[m] = m >= 241 ? '#' : (m >= 224 ? 'W' : kRamp[m / 32]);
    }
    const std::string path = targetPath(target);
    std::vector<char> buffer(64 * 1024 + 64);
    std::size_t pageBytes = 0;
    const std::size_t heapBefore = heap::live;
    heap::resetPeak();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            state.SkipWithError(("cannot open " + path).c_str());
            return;
        }
        std::size_t used = 0;
        pageBytes = 0;
        auto out = [&](const char* data, std::size_t size) {
            if (used + size > 64 * 1024) {
                benchmark::DoNotOptimize(::write(fd, buffer.data(), used));
                pageBytes += used;
                used = 0;
            }
            std::memcpy(buffer.data() + used, data, size);
            used += size;
        };
        out(head.data(), head.size());
        std::uint32_t previous = 0xFFFFFFFFu;
        bool first = true;
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* row = picture.row(y);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t c = row[x];
                char cell[40];
                std::size_t n = 0;
                if (c != previous) {
                    const char* open = first ? "<font color=\"#" : "</font><font color=\"#";
                    const std::size_t openSize = first ? 14 : 21;
                    std::memcpy(cell, open, openSize);
                    n = openSize;
                    std::memcpy(cell + n, &hex[2 * (c & 255)], 2);
                    std::memcpy(cell + n + 2, &hex[2 * ((c >> 8) & 255)], 2);
                    std::memcpy(cell + n + 4, &hex[2 * ((c >> 16) & 255)], 2);
                    cell[n + 6] = '"';
                    cell[n + 7] = '>';
                    n += 8;
                    previous = c;
                    first = false;
                }
                std::uint32_t m = std::max({c & 255, (c >> 8) & 255, (c >> 16) & 255});
                cell[n] = cell[n + 1] = smart[m];
                out(cell, n + 2);
            }
            out("\r\n", 2);
        }
        out(trailer.data(), trailer.size());
        benchmark::DoNotOptimize(::write(fd, buffer.data(), used));
        pageBytes += used;
        ::close(fd);
    }
    if (target != Target::DevNull) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    report(state, picture, pageBytes, heapBefore);
}

const char* modeName(int mode) {
    static const std::array<const char*, 7> names = {"CustomText", "RandomLetters", "RandomNumbers",
                                                     "Binary",     "MachineCode",   "Hex",
                                                     "SmartText"};
    return names[static_cast<std::size_t>(mode)];
}

std::string sizeName(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// "Normal" runs yield through the platform's pump at its default clock-check rate, and
// "Normal-checkN" with a clock read every N calls instead.
void registerEngine(int mode, int width, int height, Target target, RunPriority priority,
                    int callsPerCheck = qt::QtEventPump::kDefaultCallsPerCheck) {
    std::string name = std::string("Engine/") + modeName(mode) + "/" + sizeName(width, height) +
                       "/" + targetName(target) + "/" +
                       (priority == RunPriority::High ? "High" : "Normal");
    if (priority == RunPriority::Normal &&
        callsPerCheck != qt::QtEventPump::kDefaultCallsPerCheck) {
        name += "-check" + std::to_string(callsPerCheck);
    }
    benchmark::RegisterBenchmark(name.c_str(),
                                 [=](benchmark::State& state) {
                                     engineRun(state, mode, width, height, target, priority,
                                               callsPerCheck);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void registerBare(int width, int height, Target target) {
    const std::string name = "Bare/SmartText/" + sizeName(width, height) + "/" + targetName(target);
    benchmark::RegisterBenchmark(
        name.c_str(), [=](benchmark::State& state) { bareRun(state, width, height, target); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void registerAll() {
    constexpr int kSmart = 6;
    constexpr int kCustom = 0;
    constexpr int kRandomLetters = 1;
    constexpr int kHex = 5;
    // Streaming targets first, so that the memory figures of the clipboard runs come last.
    for (Target target : {Target::DevNull, Target::ShmFile, Target::DiskFile}) {
        registerBare(1000, 1000, target);
    }
    for (Target target : {Target::Discard, Target::DevNull, Target::ShmFile, Target::DiskFile}) {
        registerEngine(kSmart, 1000, 1000, target, RunPriority::High);
    }
    for (Target target : {Target::Discard, Target::ShmFile, Target::DiskFile}) {
        registerEngine(kSmart, 1000, 1000, target, RunPriority::Normal);
        registerEngine(kSmart, 1000, 1000, target, RunPriority::Normal, 8);
    }
    registerEngine(kCustom, 1000, 1000, Target::Discard, RunPriority::High);
    // The five random modes beside Smart Text into the same sink.
    for (int mode = kRandomLetters; mode <= kHex; ++mode) {
        registerEngine(mode, 1000, 1000, Target::Discard, RunPriority::High);
    }
    registerBare(2000, 2000, Target::ShmFile);
    registerEngine(kSmart, 2000, 2000, Target::Discard, RunPriority::High);
    registerEngine(kSmart, 2000, 2000, Target::ShmFile, RunPriority::High);
    registerEngine(kSmart, 1000, 1000, Target::Clipboard, RunPriority::High);
    registerEngine(kSmart, 2000, 2000, Target::Clipboard, RunPriority::High);
}

}  // namespace

int main(int argc, char** argv) {
    // The event pump of the "Normal" runs gives a real Qt event loop its turns; the windows of the
    // command benchmarks need a GUI application, off screen unless another platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const std::optional<int> started = tess::bench::runStartedCase(argc, argv))
        return *started;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
