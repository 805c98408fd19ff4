#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/DefaultRandom.h"
#include "platform/Folders.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/SystemClock.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "shell/ConverterState.h"
#include "shell/frmMain.h"

namespace tess::bench {

// The main window after its load, as the benchmarks that run its commands need it: the real
// clock, generator and event pump; settings, scripted dialogs, a recording shell and the program
// folder inside a temporary folder (made from `folderTemplate`, a QTemporaryDir template); and
// the clipboard the benchmark chooses.
template <class ClipboardType>
class BenchWindow {
  public:
    explicit BenchWindow(const QString& folderTemplate)
        : root_(folderTemplate),
          settings_(QDir(root_.path()).filePath("config")),
          pump_(qt::QtEventPump::kDefaultInterval, {}),
          services_{
              dialogs_,   settings_,
              clock_,     random_,
              pump_,      shell_,
              clipboard_, Folders::inOne(QDir(root_.path()).filePath("program").toStdString())} {
        QDir().mkpath(QString::fromStdString(services_.folders.program));
        window_ = std::make_unique<frmMain>(services_, state_, std::vector<std::string>{});
        window_->endProgram = [] {};
        window_->Form_Load();
    }

    frmMain& window() { return *window_; }
    testing::ScriptedDialogs& dialogs() { return dialogs_; }
    std::string folder() const { return root_.path().toStdString(); }

  private:
    QTemporaryDir root_;
    qt::IniSettingsStore settings_;
    testing::ScriptedDialogs dialogs_;
    qt::SystemClock clock_;
    DefaultRandom random_;
    qt::QtEventPump pump_;
    testing::RecordingShell shell_;
    ClipboardType clipboard_;
    Services services_;
    ConverterState state_;
    std::unique_ptr<frmMain> window_;
};

// A template in the system's temporary folder.
inline QString temporaryFolderTemplate(const char* name) {
    return QDir(QDir::tempPath()).filePath(QString::fromUtf8(name) + "-XXXXXX");
}

}  // namespace tess::bench
