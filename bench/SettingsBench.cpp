// Settings benchmarks on a settings file of 300,000 keys (about 4.2 MB) beside the keys the
// programs use. "Settings/Start/Converter" is the converter's start as the program runs it (the
// splash's load, the main window's load and show) and "Settings/Start/Explorer" the explorer's
// (its window's load and show on an empty folder), each with a settings store made anew, as a
// program start makes it; what the programs' end costs is left out. "Settings/Save" is one
// changed value written into that file by a store that has read it already.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/DefaultRandom.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/SystemClock.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "shell/ConverterProgram.h"
#include "shell/ProgramVersion.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "windows/ExplorerState.h"
#include "windows/frmMain.h"

namespace {

using namespace tess;

constexpr int kKeys = 300000;

// A configuration folder whose Tessaryn32.ini holds the many keys, a program folder with the
// program file in it and an empty folder for the explorer.
class SettingsFolder {
  public:
    SettingsFolder() {
        QDir().mkpath(config());
        QDir().mkpath(QString::fromStdString(program()));
        QDir().mkpath(QString::fromStdString(mosaics()));
        QFile(QString::fromStdString(program() + "/" + std::string(kProgramFileName)))
            .open(QIODevice::WriteOnly);
        QByteArray bytes = "[Explorer]\nSortKey=1\n\n[Settings]\nSplash=1\n";
        char line[32];
        for (int i = 0; i < kKeys; ++i) {
            const int length = std::snprintf(line, sizeof line, "K%06d=%05d\n", i, i % 100000);
            bytes.append(line, length);
        }
        QFile file(config() + "/Tessaryn32.ini");
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        fileBytes = bytes.size();
    }

    QString config() const { return QDir(root_.path()).filePath("config"); }
    std::string program() const { return QDir(root_.path()).filePath("program").toStdString(); }
    std::string mosaics() const { return QDir(root_.path()).filePath("mosaics").toStdString(); }

    qsizetype fileBytes = 0;

  private:
    QTemporaryDir root_;
};

SettingsFolder& settingsFolder() {
    static SettingsFolder folder;
    return folder;
}

// The services of a program start: a settings store of its own over the folder, the real clock,
// generator, event pump and clipboard, dialogs and shell that answer without a person.
struct StartServices {
    explicit StartServices(const SettingsFolder& folder)
        : settings(folder.config()),
          pump(qt::QtEventPump::kDefaultInterval, {}),
          services{dialogs, settings, clock,     random,
                   pump,    shell,    clipboard, Folders::inOne(folder.program())} {}

    qt::IniSettingsStore settings;
    testing::ScriptedDialogs dialogs;
    qt::SystemClock clock;
    DefaultRandom random;
    qt::QtEventPump pump;
    testing::RecordingShell shell;
    qt::QtClipboard clipboard;
    Services services;
};

void reportFile(benchmark::State& state) {
    state.counters["keys"] = kKeys;
    state.counters["file_MB"] = static_cast<double>(settingsFolder().fileBytes) / 1e6;
}

void ConverterStart(benchmark::State& state) {
    SettingsFolder& folder = settingsFolder();
    for (auto _ : state) {
        auto start = std::make_unique<StartServices>(folder);
        auto program =
            std::make_unique<ConverterProgram>(start->services, std::vector<std::string>{});
        program->endProgram = [] {};
        program->start();
        if (frmSplash* splash = program->splash())
            splash->Form_Click();
        if (program->mainWindow() == nullptr) {
            state.SkipWithError("the main window did not open");
            return;
        }
        state.PauseTiming();
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        start.reset();
        state.ResumeTiming();
    }
    reportFile(state);
}
BENCHMARK(ConverterStart)
    ->Name("Settings/Start/Converter")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

void ExplorerStart(benchmark::State& state) {
    SettingsFolder& folder = settingsFolder();
    for (auto _ : state) {
        auto start = std::make_unique<StartServices>(folder);
        explorer::ExplorerState explorerState;
        auto window =
            std::make_unique<explorer::frmMain>(start->services, explorerState, folder.mosaics());
        window->Form_Load();
        window->show();
        state.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        start.reset();
        state.ResumeTiming();
    }
    reportFile(state);
}
BENCHMARK(ExplorerStart)
    ->Name("Settings/Start/Explorer")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

void Save(benchmark::State& state) {
    qt::IniSettingsStore settings(settingsFolder().config());
    benchmark::DoNotOptimize(settings.get("Tessaryn32", "Settings", "Splash"));
    int value = 0;
    for (auto _ : state)
        settings.save("Tessaryn32", "Settings", "BenchValue", std::to_string(++value));
    settings.remove("Tessaryn32", "Settings", "BenchValue");
    reportFile(state);
}
BENCHMARK(Save)->Name("Settings/Save")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
