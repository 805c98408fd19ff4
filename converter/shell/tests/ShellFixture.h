#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtText.h"
#include "platform/testing/CountingEventPump.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/ScriptedRandom.h"
#include "shell/ConverterState.h"
#include "shell/frmMain.h"

namespace tess {

// A program folder and a settings store in a temporary folder, scripted dialogs and a clock fixed
// on an ordinary day. openMain() builds the main window and runs its load as the splash would.
class ShellFixture : public ::testing::Test {
  protected:
    ShellFixture()
        : programFolder(QDir(root.path()).filePath("program").toStdString()),
          settings(QDir(root.path()).filePath("config")),
          clock(DateTime{2005, 10, 12, 14, 30, 0, 0}),
          services{dialogs, settings, clock,     random,
                   pump,    shell,    clipboard, Folders::inOne(programFolder)} {
        QDir().mkpath(QString::fromStdString(programFolder));
    }

    std::string setting(const std::string& key, const std::string& fallback = "<none>") const {
        return settings.get("Tessaryn32", "Settings", key, fallback);
    }
    void store(const std::string& key, const std::string& value) {
        settings.save("Tessaryn32", "Settings", key, value);
    }

    std::string inProgram(const std::string& name) const { return programFolder + "/" + name; }
    void touch(const std::string& path) const {
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
        std::ofstream(path) << "x";
    }

    std::unique_ptr<frmMain> openMain(std::vector<std::string> arguments = {}) {
        auto window = std::make_unique<frmMain>(services, state, std::move(arguments));
        window->endProgram = [this] { ++programEnds; };
        window->Form_Load();
        return window;
    }

    QTemporaryDir root;
    std::string programFolder;
    qt::IniSettingsStore settings;
    testing::ScriptedDialogs dialogs;
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    testing::CountingEventPump pump;
    testing::RecordingShell shell;
    testing::MemoryClipboard clipboard;
    Services services;
    ConverterState state;
    int programEnds = 0;
};

// The main window after its load, with a working picture the test gives it.
class MainWindowFixture : public ShellFixture {
  protected:
    MainWindowFixture() { w = openMain(); }

    // The picture as a load leaves it, not yet changed.
    void setWorking(Picture picture) {
        w->srcPic->box().setPicture(std::move(picture));
        state.ImageChanged = false;
    }
    Picture shown() const { return w->srcPic->box().pictureOrImage(); }
    std::string caption() const { return qt::fromQ(w->mnuLastFX->text()); }
    bool undoSaved() const {
        return QFileInfo::exists(QString::fromStdString(inProgram("~tesundo.dat")));
    }
    // Whether Undo / Redo is enabled when the Edit menu opens.
    bool undoOffered() {
        w->mnuEdit_Click();
        return w->mnuUndo->isEnabled();
    }
    // A folder in the undo file's place: no undo copy can be written there.
    void blockUndoCopies() const {
        QFile::remove(QString::fromStdString(inProgram("~tesundo.dat")));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(inProgram("~tesundo.dat/keep"))));
    }
    void unblockUndoCopies() const {
        QDir(QString::fromStdString(inProgram("~tesundo.dat"))).removeRecursively();
    }

    std::unique_ptr<frmMain> w;
};

}  // namespace tess
