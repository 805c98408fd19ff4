// A custom text file of 64 MB loaded into the custom text box as the main window does it, from the
// press of "Browse..." to the box repainted: the read, the conversion and the box's document.
// Names read "CustomText/Load/<lines>": lines of 70 characters (wrapped prose), of 400 (a
// paragraph a line), of one character (the most lines a file of this size can have), and the
// whole file as one line. Each iteration runs in a process of its own, forked from the shown
// window, so that memory freed by an earlier load is not counted as free here. peak_heap_MB is the
// most the load added to the heap (every malloc, Qt's included, counted at its usable size: the
// address space a limit would count), peak_rss_MB the most it added to the resident memory (what
// the machine gives); *_x are the same as multiples of the file's size. held_heap_MB is what the
// box holds once loaded, beyond what it held before. "CustomText/Key/70/64MB" types a letter and
// takes it back with Backspace in the box holding the 70-character file, as a user edits it: two
// keys an iteration, with the most heap a key added; "CustomText/Key/OneLine/4MB" does the same in
// the middle of the 4 MB file of one line, laid out a part at a time.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "BenchWindow.h"
#include "ChildRun.h"
#include "HeapCounter.h"
#include "platform/qt/MultiLineTextBox.h"
#include "platform/testing/MemoryClipboard.h"
#include "shell/frmMain.h"

namespace {

using namespace tess;

// A load may add at most this much address space: a case gone wrong fails in its child process
// instead of taking the machine's memory.
constexpr rlim_t kChildHeadroom = rlim_t{8} << 30;

// The main window after its load, shown on the options tab that holds the custom text box.
class TextWindow {
  public:
    TextWindow() : base_(bench::temporaryFolderTemplate("tessaryn-text-bench")) {
        frmMain& w = base_.window();
        w.show();
        w.SSTab1->setCurrentIndex(1);
        w.selectComboIndex(w.Combo2, 0);
        QCoreApplication::processEvents();
    }

    // The file chosen in the open dialog and loaded; false when the box did not take it.
    bool load(const std::string& path) {
        base_.dialogs().clearRecord();
        base_.dialogs().answerOpen(path);
        base_.window().Command4->click();
        QCoreApplication::processEvents();
        return base_.dialogs().msgBoxes().empty() && base_.window().Text3->length() > 0;
    }

    qt::MultiLineTextBox& box() { return *base_.window().Text3; }

  private:
    bench::BenchWindow<testing::MemoryClipboard> base_;
};

// Never destroyed: its widgets must not outlive the application.
TextWindow& textWindow() {
    static TextWindow* window = new TextWindow;
    return *window;
}

// A file in /dev/shm of `bytes` bytes of words in lines of `lineLength` characters and CR LF (LF
// alone for one-character lines; no line end at all for 0). The benchmark that asks for it removes
// it.
std::string textFile(int lineLength, std::size_t bytes) {
    const std::string path = "/dev/shm/tessaryn-custom-text-" + std::to_string(lineLength) + "-" +
                             std::to_string(bytes >> 10) + "K.txt";
    static const char* const words[] = {"the",     "mosaic", "of",      "a",    "picture", "in",
                                        "letters", "and",    "colours", "seen", "from",    "afar"};
    std::string text;
    text.reserve(bytes + 8192);
    std::size_t word = 0;
    while (text.size() < bytes) {
        if (lineLength == 1) {
            text += "x\n";
            continue;
        }
        std::string line;
        while (lineLength == 0 ? line.size() < 4096
                               : line.size() < static_cast<std::size_t>(lineLength)) {
            if (!line.empty())
                line += ' ';
            line += words[word++ % std::size(words)];
        }
        if (lineLength > 0) {
            line.resize(static_cast<std::size_t>(lineLength));
            line += "\r\n";
        }
        text += line;
    }
    text.resize(bytes);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

long statusKB(const char* key) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = key;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return 0;
}

struct Load {
    double seconds = -1.0;  // negative: the box did not take the file
    double peakHeapMB = 0.0;
    double peakRssMB = 0.0;
    double heldHeapMB = 0.0;
};

// One load in this process: the resident high-water mark starts again from what is resident now.
Load loadOnce(TextWindow& window, const std::string& path) {
    std::ofstream("/proc/self/clear_refs") << "5";
    const long rssBefore = statusKB("VmRSS:");
    const std::size_t heapBefore = heap::live;
    heap::resetPeak();
    const auto start = std::chrono::steady_clock::now();
    const bool taken = window.load(path);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {taken ? seconds : -1.0, static_cast<double>(heap::peak - heapBefore) / 1e6,
            static_cast<double>(statusKB("VmHWM:") - rssBefore) / 1e3,
            static_cast<double>(heap::live - heapBefore) / 1e6};
}

void CustomTextLoad(benchmark::State& state, int lineLength, std::size_t bytes) {
    const std::string path = textFile(lineLength, bytes);
    TextWindow& window = textWindow();
    Load worst;
    for (auto _ : state) {
        const std::optional<Load> report = bench::inChildProcess([&] {
            rlimit limit{};
            ::getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = static_cast<rlim_t>(statusKB("VmSize:")) * 1024 + kChildHeadroom;
            ::setrlimit(RLIMIT_AS, &limit);
            return loadOnce(window, path);
        });
        if (!report || report->seconds < 0) {
            state.SkipWithError("the load in the child process failed");
            return;
        }
        state.SetIterationTime(report->seconds);
        worst.peakHeapMB = std::max(worst.peakHeapMB, report->peakHeapMB);
        worst.peakRssMB = std::max(worst.peakRssMB, report->peakRssMB);
        worst.heldHeapMB = std::max(worst.heldHeapMB, report->heldHeapMB);
    }
    const double fileMB = static_cast<double>(bytes) / 1e6;
    state.counters["peak_heap_MB"] = worst.peakHeapMB;
    state.counters["peak_rss_MB"] = worst.peakRssMB;
    state.counters["peak_heap_x"] = worst.peakHeapMB / fileMB;
    state.counters["peak_rss_x"] = worst.peakRssMB / fileMB;
    state.counters["held_heap_MB"] = worst.heldHeapMB;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Typing in the box that holds a long text, the caret in its middle.
void CustomTextKey(benchmark::State& state, int lineLength, std::size_t bytes) {
    TextWindow& window = textWindow();
    const std::string path = textFile(lineLength, bytes);
    const bool loaded = window.load(path);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (!loaded) {
        state.SkipWithError("the file did not load");
        return;
    }
    qt::MultiLineTextBox& box = window.box();
    box.setCursorPosition(box.length() / 2);
    const QString before = box.text();
    double peakMB = 0.0;
    for (auto _ : state) {
        const std::size_t heapBefore = heap::live;
        heap::resetPeak();
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, "w");
        QCoreApplication::sendEvent(&box, &letter);
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &backspace);
        peakMB = std::max(peakMB, static_cast<double>(heap::peak - heapBefore) / 1e6);
    }
    if (box.text() != before)
        state.SkipWithError("the keys changed the text");
    state.counters["peak_heap_MB"] = peakMB;
    state.SetItemsProcessed(state.iterations() * 2);
}

void registerLoad(const std::string& name, int lineLength, int megabytes, int iterations) {
    const std::size_t bytes = static_cast<std::size_t>(megabytes) << 20;
    benchmark::RegisterBenchmark(
        ("CustomText/Load/" + name + "/" + std::to_string(megabytes) + "MB").c_str(),
        [=](benchmark::State& state) { CustomTextLoad(state, lineLength, bytes); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
}

void registerKey(const std::string& name, int lineLength, std::size_t bytes) {
    benchmark::RegisterBenchmark(
        ("CustomText/Key/" + name).c_str(),
        [=](benchmark::State& state) { CustomTextKey(state, lineLength, bytes); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

// Registered at start-up, before main() adds the other benchmarks.
const bool registered = [] {
    registerLoad("70", 70, 64, 3);
    registerLoad("400", 400, 64, 3);
    registerLoad("1", 1, 4, 1);
    registerLoad("OneLine", 0, 4, 1);
    // A long text, a short one whose scroll bar counts rows, and one of long paragraphs.
    registerKey("70/64MB", 70, std::size_t{64} << 20);
    registerKey("70/30KB", 70, std::size_t{30} << 10);
    registerKey("8000/1600KB", 8000, std::size_t{1600} << 10);
    registerKey("OneLine/4MB", 0, std::size_t{4} << 20);
    return true;
}();

}  // namespace
