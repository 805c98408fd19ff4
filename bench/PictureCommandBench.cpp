// The picture commands as the main window runs them on a 4000 x 3000 working picture: every effect,
// the flip and invert tools and the four half and double size commands, each from the menu item's
// trigger to the repainted picture, the undo copy included (written to a folder on disk, in
// TESSARYN_BENCH_DIR or beside the program). The window is shown on Qt's offscreen platform.
// Names read "Commands/Effect/<name>", "Commands/Tool/<name>" and "Commands/Resize/<name>";
// the pixel work alone is "Effects/Effect/<name>", "Effects/Tool/<name>" and "Resize/...", and the
// difference is the frame's cost. Every iteration starts from the same picture, given to the
// window outside the timing as a load would, the window's pictures keeping the memory earlier
// commands gave them; the double sizes also run ".../Fresh", as a session's first command, where
// the window's pictures have no memory yet. peak_extra_MB is the most the command added to the
// heap beyond what the window held before it.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "BenchFolder.h"
#include "BenchWindow.h"
#include "HeapCounter.h"
#include "PhotoPicture.h"
#include "effects/EffectTable.h"
#include "platform/Picture.h"
#include "platform/testing/MemoryClipboard.h"
#include "shell/frmMain.h"

namespace {

using namespace tess;

// The main window after its load and shown, with a memory clipboard and its folder on disk.
class PictureWindow {
  public:
    PictureWindow()
        : base_(QString::fromStdString(bench::benchFolder() + "/tessaryn-commands-XXXXXX")) {
        base_.window().show();
        QCoreApplication::processEvents();
    }

    frmMain& window() { return base_.window(); }
    std::string folder() const { return base_.folder(); }

    // The picture as a load leaves it, with its repaint done. The window's pictures keep the
    // memory earlier commands gave them, as they do in use, unless `fresh` asks for the state of
    // a session's first command, where all of it is new to the process.
    void reset(const Picture& picture, bool fresh) {
        frmMain& w = window();
        if (fresh) {
            w.srcPic->box().setPicture(std::nullopt);
            w.srcPic->box().surface() = Picture();
            w.flipPic->box().surface() = Picture();
        }
        w.srcPic->box().setPicture(picture);
        w.DrawImageEdges();
        w.UpdateScrollBars();
        QCoreApplication::processEvents();
    }

    // The command from its menu item to the repainted picture.
    void run(QAction* item) {
        item->trigger();
        QCoreApplication::processEvents();
    }

  private:
    bench::BenchWindow<testing::MemoryClipboard> base_;
};

// Never destroyed: its widgets must not outlive the application, which ends before the static
// objects do. Its folder goes at the process's end.
PictureWindow& pictureWindow() {
    static PictureWindow* window = [] {
        auto* made = new PictureWindow;
        static const std::string folder = made->folder();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return made;
    }();
    return *window;
}

using Item = std::function<QAction*(frmMain&)>;

void Command(benchmark::State& state, const Item& item, bool fresh) {
    PictureWindow& window = pictureWindow();
    const Picture& photo = bench::photoPicture();
    QAction* action = item(window.window());
    double peakExtra = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        window.reset(photo, fresh);
        const std::size_t before = heap::live.load();
        heap::resetPeak();
        state.ResumeTiming();
        window.run(action);
        state.PauseTiming();
        peakExtra =
            std::max(peakExtra, static_cast<double>(heap::peak.load() - before) / (1 << 20));
        state.ResumeTiming();
    }
    state.counters["peak_extra_MB"] = peakExtra;
}

void registerCommand(const std::string& name, const Item& item, bool fresh = false) {
    benchmark::RegisterBenchmark(
        ("Commands/" + name + "/4000x3000" + (fresh ? "/Fresh" : "")).c_str(), Command, item, fresh)
        ->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    for (std::size_t k = 0; k < fx::effectTable().size(); ++k) {
        const fx::EffectEntry& entry = fx::effectTable()[k];
        if (entry.apply != nullptr)
            registerCommand("Effect/" + std::string(entry.displayName),
                            [k](frmMain& w) { return w.effectItems()[k]; });
    }
    registerCommand("Tool/Flip H", [](frmMain& w) { return w.mnuFlipH; });
    registerCommand("Tool/Flip V", [](frmMain& w) { return w.mnuFlipV; });
    registerCommand("Tool/Invert", [](frmMain& w) { return w.mnuInvert; });
    registerCommand("Resize/Half", [](frmMain& w) { return w.mnuHalfSize; });
    registerCommand("Resize/HalfResample", [](frmMain& w) { return w.mnuCutIHR; });
    registerCommand("Resize/Double", [](frmMain& w) { return w.mnuDSize; });
    registerCommand("Resize/DoubleResample", [](frmMain& w) { return w.mnuDSizeR; });
    // A larger picture than any before it needs memory new to the process.
    registerCommand(
        "Resize/Double", [](frmMain& w) { return w.mnuDSize; }, true);
    registerCommand(
        "Resize/DoubleResample", [](frmMain& w) { return w.mnuDSizeR; }, true);
    return true;
}();

}  // namespace
