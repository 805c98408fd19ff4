// Explorer benchmarks on pages of about 30 MB, as the converter writes them for a photo of
// 1000 x 1000 pixels.
//
// "Explorer/Scan/1000x30MB/<where>": the per-file steps of a scan (the folder listing, each file's
// head read, the generator test and the readers, the date) over a folder of 1,000 such pages.
// The pages are sparse files: the converter's real head and then a hole, so the folder costs a
// few megabytes of disk whatever the pages' length. "pages/s" and "read_B_per_page", the bytes
// the process read (the system's own count of read bytes), show that only the heads are read.
//
// "Explorer/WindowScan/<pages>/Window": the scan as the explorer's main window runs it, shown on
// Qt's offscreen platform with the real event pump: from the press of "Process" to the sorted list
// with its first row selected (the status texts, the rows' inserts, a turn of the event loop after
// every file), over a folder of 1,000, 10,000 and 30,000 of the same pages in /dev/shm. Beside it
// ".../Steps", the scan code alone over the same folder (the folder listing and scanPage of each
// name), the floor the window is held to.
//
// "Explorer/Rewrite/<path>/<where>": a save of one row into a 30 MB page (the head read and
// rewritten, the rest copied, the atomic replace with its flush to the disk), beside
// "Explorer/ReadWrite", the baseline: the same file read whole and written back plainly, and
// "ReadAtomicWrite", read and written back through the same atomic writer. Rates are megabytes of
// page per second.
//
// "Explorer/Save/<size>/<how>/<where>": a title saved into a page of 30 MB and of 2 GiB.
// "Streamed" is the explorer's save; "PlainCopy" the baseline, a copy of the file into another
// one in pieces of 1 MiB without a flush; "AtomicCopy" the same copy through the atomic writer (a
// new file, its flush, the rename), the least a save can cost. "peak_heap_MB" is the most the heap
// held during a save.
//
// Files go to /dev/shm and to TESSARYN_BENCH_DIR (default: the folder of the program).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "BenchFolder.h"
#include "HeapCounter.h"
#include "PhotoPicture.h"
#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "explorer/MosaicScan.h"
#include "explorer/PageReader.h"
#include "explorer/PageRewriter.h"
#include "platform/AtomicFile.h"
#include "platform/Blit.h"
#include "platform/DefaultRandom.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/SystemClock.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/MemorySettingsStore.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "windows/ExplorerState.h"
#include "windows/MosaicListModel.h"
#include "windows/frmMain.h"

namespace {

using namespace tess;

constexpr int kPages = 1000;
constexpr std::uint64_t kPageLength = 30ull * 1024 * 1024;

using bench::benchFolder;

// The converter's page of the photo's top-left 1000 x 1000 pixels at font size "-1": about 30 MB.
const std::string& converterPage() {
    static const std::string page = [] {
        const Picture& photo = bench::photoPicture();
        Picture picture(1000, 1000);
        bitBlt(picture, 0, 0, picture.width(), picture.height(), photo, 0, 0, RasterOp::SrcCopy);
        MosaicOptions options;
        options.Mode = 6;
        options.FontSize = 0;
        options.Title = "Image From /home/ann/photo.jpg";
        options.Priority = RunPriority::High;
        qt::SystemClock clock;
        DefaultRandom random;
        NoHooks hooks;
        const std::string path = "/dev/shm/tessaryn-bench-explorer-source.html";
        if (!runMosaic(picture, options, MosaicTarget::file(path), RunServices{clock, random},
                       hooks)) {
            return std::string();
        }
        Result<std::string> bytes = readFileBytes(path);
        std::filesystem::remove(path);
        return bytes ? *bytes : std::string();
    }();
    return page;
}

// The converter's page as the folder scan takes it, or nothing where it is not taken for a mosaic.
std::optional<explorer::MosaicRow> converterRow() {
    const std::string& page = converterPage();
    return explorer::rowFromHead(std::string_view(page).substr(0, explorer::kHeadBytes),
                                 page.size(), "page.html");
}

// What the process has read so far, in bytes, by the system's own count.
std::uint64_t bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

// A file or folder of the benchmark's own, removed with everything in it at the end.
class BenchPath {
  public:
    explicit BenchPath(std::string path) : path_(std::move(path)) {}
    ~BenchPath() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchPath(const BenchPath&) = delete;
    BenchPath& operator=(const BenchPath&) = delete;

    const std::string& path() const { return path_; }
    bool ok() const { return ok_; }

  protected:
    std::string path_;
    bool ok_ = true;
};

// A folder of `pages` sparse pages of kPageLength bytes each.
class ScanFolder : public BenchPath {
  public:
    explicit ScanFolder(const std::string& where, int pages = kPages)
        : BenchPath(where + "/tessaryn-bench-scan-" + std::to_string(::getpid()) + "-" +
                    std::to_string(pages)) {
        std::filesystem::create_directories(path_);
        const std::string& page = converterPage();
        const std::string_view head = std::string_view(page).substr(0, 2 * explorer::kHeadBytes);
        for (int i = 0; i < pages; ++i) {
            const std::string file = path_ + "/Image" + std::to_string(i + 1) + ".html";
            const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 ||
                ::write(fd, head.data(), head.size()) != static_cast<ssize_t>(head.size()) ||
                ::ftruncate(fd, static_cast<off_t>(kPageLength)) != 0) {
                ok_ = false;
            }
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};

void Scan(benchmark::State& state, const std::string& where) {
    if (converterPage().empty()) {
        state.SkipWithError("the converter's page could not be made");
        return;
    }
    const ScanFolder folder(where);
    if (!folder.ok()) {
        state.SkipWithError(("cannot write the pages in " + where).c_str());
        return;
    }
    std::uint64_t read = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        const std::uint64_t before = bytesRead();
        Result<std::vector<std::string>> names = explorer::listPages(folder.path());
        if (!names || names->size() != static_cast<std::size_t>(kPages)) {
            state.SkipWithError("the folder lists the wrong pages");
            return;
        }
        for (const std::string& name : *names) {
            std::optional<explorer::MosaicRow> row = explorer::scanPage(folder.path(), name);
            rows += row ? 1 : 0;
            benchmark::DoNotOptimize(row);
        }
        read += bytesRead() - before;
    }
    if (rows != state.iterations() * kPages) {
        state.SkipWithError("a page was not taken for a mosaic");
        return;
    }
    const double pages = static_cast<double>(state.iterations()) * kPages;
    state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["read_B_per_page"] = static_cast<double>(read) / pages;
    state.counters["page_MB"] = static_cast<double>(kPageLength) / 1e6;
}

// The folder of `pages` pages in /dev/shm, written once for every run that scans it.
const ScanFolder& shmScanFolder(int pages) {
    static std::map<int, std::unique_ptr<ScanFolder>> folders;
    std::unique_ptr<ScanFolder>& folder = folders[pages];
    if (!folder)
        folder = std::make_unique<ScanFolder>("/dev/shm", pages);
    return *folder;
}

// The explorer's main window, loaded and shown with the folder chosen in its directory list (not
// scanned yet), with the real event pump and clock and services that answer without a person.
class ExplorerWindow {
  public:
    explicit ExplorerWindow(const std::string& folder)
        : pump_(qt::QtEventPump::kDefaultInterval, {}),
          services_{
              dialogs_, settings_, clock_,     random_,
              pump_,    shell_,    clipboard_, Folders::inOne(program_.path().toStdString())} {
        window_ = std::make_unique<explorer::frmMain>(services_, state_, std::string());
        window_->endProgram = [] {};
        window_->Form_Load();
        window_->show();
        window_->AddDirs(folder + "/");
        QCoreApplication::processEvents();
    }
    explorer::frmMain& window() { return *window_; }

  private:
    QTemporaryDir program_;
    testing::MemorySettingsStore settings_;
    testing::ScriptedDialogs dialogs_;
    qt::SystemClock clock_;
    DefaultRandom random_;
    qt::QtEventPump pump_;
    testing::RecordingShell shell_;
    testing::MemoryClipboard clipboard_;
    Services services_;
    explorer::ExplorerState state_;
    std::unique_ptr<explorer::frmMain> window_;
};

void WindowScan(benchmark::State& state, int pages) {
    if (converterPage().empty()) {
        state.SkipWithError("the converter's page could not be made");
        return;
    }
    const ScanFolder& folder = shmScanFolder(pages);
    if (!folder.ok()) {
        state.SkipWithError("cannot write the pages in /dev/shm");
        return;
    }
    ExplorerWindow explorerWindow(folder.path());
    explorer::frmMain& window = explorerWindow.window();
    for (auto _ : state) {
        window.Command2_Click();
        if (window.rows().count() != pages || window.selectedRow() != 0) {
            state.SkipWithError("the window did not list every page");
            return;
        }
        // What the scan left for the event loop belongs to it too.
        QCoreApplication::processEvents();
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * pages,
                                                   benchmark::Counter::kIsRate);
}

void ScanSteps(benchmark::State& state, int pages) {
    const ScanFolder& folder = shmScanFolder(pages);
    if (converterPage().empty() || !folder.ok()) {
        state.SkipWithError("cannot write the pages in /dev/shm");
        return;
    }
    std::int64_t rows = 0;
    for (auto _ : state) {
        Result<std::vector<std::string>> names = explorer::listPages(folder.path());
        if (!names) {
            state.SkipWithError("the folder cannot be listed");
            return;
        }
        for (const std::string& name : *names) {
            std::optional<explorer::MosaicRow> row = explorer::scanPage(folder.path(), name);
            rows += row ? 1 : 0;
            benchmark::DoNotOptimize(row);
        }
    }
    if (rows != state.iterations() * pages) {
        state.SkipWithError("a page was not taken for a mosaic");
        return;
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * pages,
                                                   benchmark::Counter::kIsRate);
}

void reportRate(benchmark::State& state, std::size_t bytes) {
    state.counters["MB/s"] = benchmark::Counter(
        static_cast<double>(bytes) / 1e6 * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["page_MB"] = static_cast<double>(bytes) / 1e6;
}

// The page written to `where`.
class PageFile : public BenchPath {
  public:
    explicit PageFile(const std::string& where)
        : BenchPath(where + "/tessaryn-bench-page-" + std::to_string(::getpid()) + ".html") {
        ok_ = !converterPage().empty() && writeFileAtomic(path_, converterPage()).ok();
    }
};

enum class Edit { FontSize, Title, Colour };

// Each save edits the row again: to CSS and back to "-1", or between two titles or two colours,
// so every iteration rewrites the page.
void Rewrite(benchmark::State& state, const std::string& where, Edit edit) {
    const PageFile file(where);
    if (!file.ok()) {
        state.SkipWithError(("cannot write the page in " + where).c_str());
        return;
    }
    const std::string& page = converterPage();
    std::optional<explorer::MosaicRow> scanned = converterRow();
    if (!scanned) {
        state.SkipWithError("the page was not taken for a mosaic");
        return;
    }
    explorer::MosaicRow row = *scanned;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        switch (edit) {
            case Edit::FontSize:
                row.fontSize = flip ? "CSS - 60%" : "-1";
                break;
            case Edit::Title:
                row.title = flip ? "A new title" : "Image From /home/ann/photo.jpg";
                break;
            case Edit::Colour:
                row.bgColor = flip ? "#102030" : "#0080FF";
                break;
        }
        row.markChanged();
        Result<explorer::SaveReport> saved = explorer::saveRow(file.path(), row);
        if (!saved || !saved->written || !saved->allTaken()) {
            state.SkipWithError("the save did not take the edit");
            return;
        }
    }
    reportRate(state, page.size());
}

// The baseline: the same file read whole and written back plainly, into the same file.
void ReadWrite(benchmark::State& state, const std::string& where) {
    const PageFile file(where);
    if (!file.ok()) {
        state.SkipWithError(("cannot write the page in " + where).c_str());
        return;
    }
    for (auto _ : state) {
        Result<std::string> bytes = readFileBytes(file.path());
        const int fd = ::open(file.path().c_str(), O_WRONLY | O_TRUNC);
        if (!bytes || fd < 0 ||
            ::write(fd, bytes->data(), bytes->size()) != static_cast<ssize_t>(bytes->size())) {
            state.SkipWithError("the plain read and write failed");
            return;
        }
        ::close(fd);
    }
    reportRate(state, converterPage().size());
}

// Read whole and written back through the atomic writer (a new file, its flush, the rename).
void ReadAtomicWrite(benchmark::State& state, const std::string& where) {
    const PageFile file(where);
    if (!file.ok()) {
        state.SkipWithError(("cannot write the page in " + where).c_str());
        return;
    }
    for (auto _ : state) {
        Result<std::string> bytes = readFileBytes(file.path());
        if (!bytes || !writeFileAtomic(file.path(), *bytes).ok()) {
            state.SkipWithError("the read and atomic write failed");
            return;
        }
    }
    reportRate(state, converterPage().size());
}

// The replacements alone, in memory: a font page to CSS.
void RewriteInMemory(benchmark::State& state) {
    const std::string& page = converterPage();
    std::optional<explorer::MosaicRow> row = converterRow();
    if (!row) {
        state.SkipWithError("the page was not taken for a mosaic");
        return;
    }
    row->fontSize = "CSS - 60%";
    row->markChanged();
    for (auto _ : state) {
        explorer::PageRewrite r = explorer::rewritePage(page, *row);
        benchmark::DoNotOptimize(r.page.data());
    }
    reportRate(state, page.size());
}

// The converter's page made `length` bytes long or a little more: its cells repeated before its
// trailer, written in pieces so that the page is never held whole.
class LargePageFile : public BenchPath {
  public:
    LargePageFile(const std::string& where, std::uint64_t length)
        : BenchPath(where + "/tessaryn-bench-large-" + std::to_string(::getpid()) + ".html") {
        const std::string& page = converterPage();
        const std::size_t cells = page.find("\r\n<font color=");
        const std::size_t trailer = page.rfind("</pre></center>");
        if (page.empty() || cells == std::string::npos || trailer == std::string::npos) {
            ok_ = false;
            return;
        }
        const std::string_view head = std::string_view(page).substr(0, cells + 2);
        const std::string_view body = std::string_view(page).substr(cells + 2, trailer - cells - 2);
        AtomicFile out;
        ok_ = out.open(path_).ok() && out.write(head).ok();
        std::uint64_t written = head.size();
        while (ok_ && written + body.size() < length) {
            ok_ = out.write(body).ok();
            written += body.size();
        }
        ok_ = ok_ && out.write(std::string_view(page).substr(trailer)).ok() && out.commit().ok();
        size_ = written + page.size() - trailer;
    }
    std::uint64_t size() const { return size_; }

  private:
    std::uint64_t size_ = 0;
};

enum class SaveHow { Streamed, PlainCopy, AtomicCopy };

// A plain copy of the file into `to`, in pieces of 1 MiB.
bool plainCopy(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string piece(1 << 20, '\0');
    bool ok = in >= 0 && out >= 0;
    for (ssize_t n = 1; ok && n > 0;) {
        n = ::read(in, piece.data(), piece.size());
        ok = n >= 0 && ::write(out, piece.data(), static_cast<std::size_t>(n)) == n;
    }
    if (in >= 0) {
        ::close(in);
    }
    if (out >= 0) {
        ok = ::close(out) == 0 && ok;
    }
    return ok;
}

// The same copy through the atomic writer, onto the file itself.
bool atomicCopy(const std::string& path) {
    const int in = ::open(path.c_str(), O_RDONLY);
    AtomicFile out;
    std::string piece(1 << 20, '\0');
    bool ok = in >= 0 && out.open(path).ok();
    for (ssize_t n = 1; ok && n > 0;) {
        n = ::read(in, piece.data(), piece.size());
        ok = n >= 0 && out.write(std::string_view(piece.data(), static_cast<std::size_t>(n))).ok();
    }
    if (in >= 0) {
        ::close(in);
    }
    return ok && out.commit().ok();
}

void Save(benchmark::State& state, const std::string& where, std::uint64_t length, SaveHow how) {
    const LargePageFile file(where, length);
    if (!file.ok()) {
        state.SkipWithError(("cannot write the page in " + where).c_str());
        return;
    }
    std::optional<explorer::MosaicRow> scanned = converterRow();
    if (!scanned) {
        state.SkipWithError("the page was not taken for a mosaic");
        return;
    }
    explorer::MosaicRow row = *scanned;
    const std::string copy = file.path() + ".copy";
    bool flip = false;
    std::size_t peak = 0;
    for (auto _ : state) {
        flip = !flip;
        row.title = flip ? "A new title" : "Image From /home/ann/photo.jpg";
        row.markChanged();
        const std::size_t before = heap::live;
        heap::resetPeak();
        bool ok = false;
        switch (how) {
            case SaveHow::Streamed: {
                Result<explorer::SaveReport> saved = explorer::saveRow(file.path(), row);
                ok = saved && saved->written && saved->allTaken();
                break;
            }
            case SaveHow::PlainCopy:
                ok = plainCopy(file.path(), copy);
                break;
            case SaveHow::AtomicCopy:
                ok = atomicCopy(file.path());
                break;
        }
        peak = std::max(peak, heap::peak - std::min<std::size_t>(heap::peak, before));
        if (!ok) {
            state.SkipWithError("the save or copy failed");
            break;
        }
    }
    std::filesystem::remove(copy);
    reportRate(state, static_cast<std::size_t>(file.size()));
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}

const bool registered = [] {
    const std::pair<const char*, std::string> places[] = {{"ShmFile", "/dev/shm"},
                                                          {"DiskFile", benchFolder()}};
    for (const auto& [name, where] : places) {
        const std::string place = name;
        benchmark::RegisterBenchmark(("Explorer/Scan/1000x30MB/" + place).c_str(), Scan, where)
            ->Unit(benchmark::kMillisecond);
    }
    for (const int pages : {1000, 10000, 30000}) {
        const std::string prefix = "Explorer/WindowScan/" + std::to_string(pages);
        benchmark::RegisterBenchmark((prefix + "/Window").c_str(), WindowScan, pages)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((prefix + "/Steps").c_str(), ScanSteps, pages)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    for (const auto& [name, where] : places) {
        const std::string place = name;
        benchmark::RegisterBenchmark(("Explorer/ReadWrite/30MB/" + place).c_str(), ReadWrite, where)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Explorer/ReadAtomicWrite/30MB/" + place).c_str(),
                                     ReadAtomicWrite, where)
            ->Unit(benchmark::kMillisecond);
        for (const auto& [editName, edit] :
             {std::pair{"FontSize", Edit::FontSize}, std::pair{"Title", Edit::Title},
              std::pair{"Colour", Edit::Colour}}) {
            benchmark::RegisterBenchmark(
                ("Explorer/Rewrite/" + std::string(editName) + "/30MB/" + place).c_str(), Rewrite,
                where, edit)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("Explorer/Rewrite/FontSize/30MB/InMemory", RewriteInMemory)
        ->Unit(benchmark::kMillisecond);
    for (const auto& [name, where] : places) {
        for (const auto& [sizeName, length] :
             {std::pair{"30MB", kPageLength}, std::pair{"2GiB", std::uint64_t{2} << 30}}) {
            for (const auto& [howName, how] : {std::pair{"Streamed", SaveHow::Streamed},
                                               std::pair{"PlainCopy", SaveHow::PlainCopy},
                                               std::pair{"AtomicCopy", SaveHow::AtomicCopy}}) {
                auto* b = benchmark::RegisterBenchmark(
                    ("Explorer/Save/" + std::string(sizeName) + "/" + howName + "/" + name).c_str(),
                    Save, where, length, how);
                b->Unit(benchmark::kMillisecond)->UseRealTime();
                if (length > kPageLength) {
                    b->Iterations(1)->Repetitions(3);
                }
            }
        }
    }
    return true;
}();

}  // namespace
