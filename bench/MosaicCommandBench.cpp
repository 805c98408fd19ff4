// The mosaic command as the main window runs it, from the press of "Create Mosaic!" to the closing
// message: the page handed to the program's Qt clipboard (Qt's offscreen platform) beside the
// same page written to a file in /dev/shm. Names read
// "Commands/Mosaic/WidthxHeight/Target/Run":
// - "Started" is the first page of a program's session as the window meets it: each iteration
//   starts this program anew (exec), which builds the window and the picture and, after a pause
//   like a person's, makes one page.
// - "First" is the first page made in a process forked, before any page, from one that holds the
//   window. Its children follow each other within a millisecond, so each one gets the memory the
//   last one gave back still fresh: what a page costs when the system has just freed its memory.
// - "Later" is a page made after others of the same size.
// "Handover/..." compares the ways of giving Qt the page. Items are cells; peak_heap_MB is the most
// a press added to the heap beyond what the program held before it, slowest_ms the slowest press.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BenchWindow.h"
#include "ChildRun.h"
#include "HeapCounter.h"
#include "PhotoPicture.h"
#include "ProgramRun.h"
#include "StartedCase.h"
#include "platform/Blit.h"
#include "platform/Picture.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtText.h"
#include "shell/frmMain.h"

namespace {

using namespace tess;

constexpr const char* kShmPage = "/dev/shm/tessaryn-command-bench.html";

// The main window after its load, with the program's Qt clipboard.
class CommandWindow {
  public:
    CommandWindow() : base_(bench::temporaryFolderTemplate("tessaryn-mosaic-bench")) {}

    // Smart Text at "High" priority, the page to the clipboard or to the /dev/shm file.
    void prepare(const Picture& picture, bool toClipboard) {
        if (picture_ != &picture) {
            base_.window().srcPic->box().setPicture(picture);
            picture_ = &picture;
        }
        base_.window().selectComboIndex(base_.window().Combo2, 6);
        base_.window().mnuHighP->trigger();
        base_.window().Check1->setChecked(false);
        base_.window().Check3->setChecked(toClipboard);
        base_.window().Text2->setText(kShmPage);
    }

    // One press; false when the run did not end with its "Complete" message.
    bool press() {
        base_.dialogs().clearRecord();
        base_.window().Command2->click();
        return base_.dialogs().msgBoxes().size() <= 1 &&
               (base_.dialogs().msgBoxes().empty() ||
                base_.dialogs().msgBoxes()[0].title == "Complete");
    }

  private:
    bench::BenchWindow<qt::QtClipboard> base_;
    const Picture* picture_ = nullptr;
};

CommandWindow& commandWindow() {
    static CommandWindow window;
    return window;
}

const Picture& photo(int width, int height) {
    const Picture& full = bench::photoPicture();
    if (width == full.width() && height == full.height())
        return full;
    static Picture corner;
    if (corner.width() != width || corner.height() != height) {
        corner = Picture(width, height);
        bitBlt(corner, 0, 0, width, height, full, 0, 0, RasterOp::SrcCopy);
    }
    return corner;
}

void reportCells(benchmark::State& state, const Picture& picture) {
    state.SetItemsProcessed(state.iterations() * picture.width() * picture.height());
}

// What a press adds to the heap at its most, beyond what it held before.
struct Press {
    double seconds = -1.0;  // negative: the run did not end with its "Complete" message
    double peakHeapMB = 0.0;
};

Press press(CommandWindow& window) {
    const std::size_t before = heap::live;
    heap::resetPeak();
    const auto start = std::chrono::steady_clock::now();
    const bool done = window.press();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {done ? seconds : -1.0, static_cast<double>(heap::peak - before) / 1e6};
}

// Each iteration forks: the child makes one page in a process that has made none yet and reports
// its press.
void firstRun(benchmark::State& state, int width, int height, bool toClipboard) {
    const Picture& picture = photo(width, height);
    CommandWindow& window = commandWindow();
    window.prepare(picture, toClipboard);
    double peakHeapMB = 0.0;
    for (auto _ : state) {
        const std::optional<Press> report = bench::inChildProcess([&] { return press(window); });
        if (!report || report->seconds < 0) {
            state.SkipWithError("the command in the child process failed");
            return;
        }
        state.SetIterationTime(report->seconds);
        peakHeapMB = std::max(peakHeapMB, report->peakHeapMB);
    }
    state.counters["peak_heap_MB"] = peakHeapMB;
    std::error_code ignored;
    std::filesystem::remove(kShmPage, ignored);
    reportCells(state, picture);
}

constexpr const char* kStartedCase = "--mosaic-command-first-page";

// The arguments that make a started program run startedPage().
std::vector<std::string> startedArguments(int width, int height, bool toClipboard) {
    return {kStartedCase, std::to_string(width), std::to_string(height),
            toClipboard ? "clipboard" : "file"};
}

// In the started program: the window and the picture, then one press.
int startedPage(int width, int height, bool toClipboard) {
    CommandWindow window;
    window.prepare(photo(width, height), toClipboard);
    // A person takes seconds from the window to the press. By then the system has taken back, or
    // handed out again, the memory the last iteration's program freed as it ended, so the page
    // does not meet it still fresh (as one started within milliseconds would).
    std::this_thread::sleep_for(std::chrono::seconds(5));
    bench::reportToStarter(press(window));
    return 0;
}

// Each iteration starts this program anew and times its first press.
void startedRun(benchmark::State& state, int width, int height, bool toClipboard) {
    const std::vector<std::string> arguments = startedArguments(width, height, toClipboard);
    double peakHeapMB = 0.0;
    double slowest = 0.0;
    for (auto _ : state) {
        const std::optional<Press> report = bench::inNewProgram<Press>(arguments);
        if (!report || report->seconds < 0) {
            state.SkipWithError("the command in the started program failed");
            return;
        }
        state.SetIterationTime(report->seconds);
        peakHeapMB = std::max(peakHeapMB, report->peakHeapMB);
        slowest = std::max(slowest, report->seconds);
    }
    state.counters["peak_heap_MB"] = peakHeapMB;
    state.counters["slowest_ms"] = slowest * 1e3;
    std::error_code ignored;
    std::filesystem::remove(kShmPage, ignored);
    state.SetItemsProcessed(state.iterations() * width * height);  // no picture made here
}

// Pages after a first one, in this process.
void laterRun(benchmark::State& state, int width, int height, bool toClipboard) {
    const Picture& picture = photo(width, height);
    CommandWindow& window = commandWindow();
    window.prepare(picture, toClipboard);
    if (press(window).seconds < 0) {
        state.SkipWithError("the command failed");
        return;
    }
    double peakHeapMB = 0.0;
    for (auto _ : state) {
        const Press report = press(window);
        if (report.seconds < 0) {
            state.SkipWithError("the command failed");
            return;
        }
        peakHeapMB = std::max(peakHeapMB, report.peakHeapMB);
    }
    state.counters["peak_heap_MB"] = peakHeapMB;
    std::error_code ignored;
    std::filesystem::remove(kShmPage, ignored);
    reportCells(state, picture);
}

// The ways of handing Qt a page of text, on the 2000 x 2000 page: widened to a QString (what
// QClipboard::setText takes), copied into a QByteArray as UTF-8, or shared as it is.
enum class Handover { Widened, Copied, Shared };

void handoverRun(benchmark::State& state, Handover how) {
    qt::QtClipboard clipboard;
    static const auto page = [&clipboard] {
        CommandWindow& window = commandWindow();
        window.prepare(photo(2000, 2000), true);
        window.press();
        return std::make_shared<const std::string>(clipboard.text());
    }();
    if (page->empty()) {
        state.SkipWithError("no page");
        return;
    }
    for (auto _ : state) {
        switch (how) {
            case Handover::Widened:
                QGuiApplication::clipboard()->setText(qt::toQ(*page));
                break;
            case Handover::Copied: {
                auto* data = new QMimeData;
                data->setData("text/plain",
                              QByteArray(page->data(), static_cast<qsizetype>(page->size())));
                QGuiApplication::clipboard()->setMimeData(data);
                break;
            }
            case Handover::Shared:
                clipboard.offerText(page);
                break;
        }
        benchmark::DoNotOptimize(QGuiApplication::clipboard()->mimeData()->hasText());
        state.PauseTiming();
        clipboard.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page->size()));
}

void registerStarted(int width, int height, bool toClipboard) {
    const std::string name = "Commands/Mosaic/" + std::to_string(width) + "x" +
                             std::to_string(height) + (toClipboard ? "/Clipboard" : "/ShmFile") +
                             "/Started";
    // A start and its pause cost far more than the press: a fixed number of them, not a time's
    // worth.
    benchmark::RegisterBenchmark(
        name.c_str(),
        [=](benchmark::State& state) { startedRun(state, width, height, toClipboard); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(6);
}

void registerCommand(int width, int height, bool toClipboard, bool first) {
    const std::string name = "Commands/Mosaic/" + std::to_string(width) + "x" +
                             std::to_string(height) + (toClipboard ? "/Clipboard" : "/ShmFile") +
                             (first ? "/First" : "/Later");
    benchmark::internal::Benchmark* benchmark =
        first ? benchmark::RegisterBenchmark(
                    name.c_str(),
                    [=](benchmark::State& state) { firstRun(state, width, height, toClipboard); })
                    ->UseManualTime()
              : benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
                    laterRun(state, width, height, toClipboard);
                })->UseRealTime();
    benchmark->Unit(benchmark::kMillisecond)->MinTime(2.0);
}

// Registered before the benchmarks that main() adds, every first page before every later one, so
// that each first page is made in a process that has made no large page yet.
const bool registered = [] {
    for (const auto& [width, height] : {std::pair{2000, 2000}, std::pair{4000, 3000}}) {
        registerStarted(width, height, false);
        registerStarted(width, height, true);
    }
    for (bool first : {true, false}) {
        for (const auto& [width, height] : {std::pair{2000, 2000}, std::pair{4000, 3000}}) {
            registerCommand(width, height, false, first);
            registerCommand(width, height, true, first);
        }
    }
    for (const auto& [how, name] :
         {std::pair{Handover::Widened, "Widened"}, std::pair{Handover::Copied, "Copied"},
          std::pair{Handover::Shared, "Shared"}}) {
        benchmark::RegisterBenchmark(
            (std::string("Commands/Mosaic/2000x2000/Handover/") + name).c_str(),
            [how = how](benchmark::State& state) { handoverRun(state, how); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

}  // namespace

namespace tess::bench {

std::optional<int> runStartedCase(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != kStartedCase)
        return std::nullopt;
    return startedPage(std::stoi(argv[2]), std::stoi(argv[3]), std::string(argv[4]) == "clipboard");
}

}  // namespace tess::bench
