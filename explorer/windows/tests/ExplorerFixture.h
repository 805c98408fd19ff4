#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "platform/Services.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/testing/CountingEventPump.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/MemorySettingsStore.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/ScriptedRandom.h"
#include "platform/testing/TempFolder.h"
#include "windows/ExplorerState.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmMain.h"

namespace tess::explorer {

// A folder of pages written by the converter's own engine, a settings store in memory, scripted
// dialogs and a fixed clock. openMain() builds the explorer's window and runs its start-up.
class ExplorerFixture : public ::testing::Test {
  protected:
    ExplorerFixture()
        : pages(root.path() + "/Mosaics/"),
          clock(DateTime{2005, 10, 12, 14, 30, 0, 0}),
          random({0.25f}),
          services{dialogs, settings, clock,     random,
                   pump,    shell,    clipboard, Folders::inOne(root.path())} {
        std::filesystem::create_directories(pages);
    }

    // Every question the window asked had its answer prepared, and every answer was used.
    void TearDown() override {
        EXPECT_EQ(dialogs.unansweredCount(), 0);
        EXPECT_EQ(dialogs.pendingCount(), 0);
    }

    // A page of a 2 x 2 picture: font size 0 ("-1") or 1 ("-2") makes a font page, 2 to 8 a CSS
    // page (8 the custom size).
    std::string writePage(const std::string& name, const std::string& title, int fontSize = 0,
                          Colour background = 0x000000, std::string folder = {}) {
        MosaicOptions options;
        options.Mode = 3;
        options.FontSize = static_cast<std::int16_t>(fontSize);
        options.Title = title;
        options.BGColor = background;
        options.Priority = RunPriority::High;
        Picture picture(2, 2, 0x3366CC);
        const std::string path = (folder.empty() ? pages : folder) + name;
        options.OutputPath = path;
        RunServices run{clock, random, nullptr};
        NoHooks hooks;
        Result<RunResult> result =
            runMosaic(picture, options, MosaicTarget::file(path), run, hooks);
        EXPECT_TRUE(result.ok()) << path;
        return path;
    }

    // Remembers directories as a previous run would have stored them.
    void rememberDirs(const std::string& list) {
        settings.save("Tessaryn32\\Explorer", "MRU", "DirList", list);
    }
    std::string stored(const std::string& key) const {
        return settings.get("Tessaryn32", "Explorer", key, "<none>");
    }

    std::unique_ptr<frmMain> openMain(std::string commandLine = {}) {
        auto window = std::make_unique<frmMain>(services, state, std::move(commandLine));
        window->endProgram = [this] { ++programEnds; };
        window->keyboardModifiers = [this] { return heldKeys; };
        window->runModal = [this](QDialog& dialog) {
            ++modalCount;
            if (onModal)
                onModal(dialog);
        };
        window->Form_Load();
        return window;
    }
    // A window that has scanned the page folder.
    std::unique_ptr<frmMain> openOnPages() {
        rememberDirs(pages);
        return openMain();
    }

    static std::vector<std::string> column(const frmMain& w, int c) {
        std::vector<std::string> texts;
        for (int r = 0; r < w.rows().count(); ++r)
            texts.push_back(MosaicListModel::columnText(w.rows().at(r), c));
        return texts;
    }
    static std::string panel1(const frmMain& w) { return w.Panel1->text().toStdString(); }
    static int rowNamed(const frmMain& w, const std::string& name) {
        for (int r = 0; r < w.rows().count(); ++r) {
            if (w.rows().at(r).row.fileName == name)
                return r;
        }
        return -1;
    }
    // Which of Command3 to Command9 are enabled, as seven letters "1" or "0".
    static std::string editButtons(const frmMain& w) {
        std::string s;
        for (ToolBarButton* b :
             {w.Command3, w.Command4, w.Command5, w.Command6, w.Command7, w.Command8, w.Command9})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }

    testing::TempFolder root{"explorer"};
    std::string pages;
    testing::MemorySettingsStore settings;
    testing::ScriptedDialogs dialogs;
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    testing::CountingEventPump pump;
    testing::RecordingShell shell;
    testing::MemoryClipboard clipboard;
    Services services;
    ExplorerState state;
    Qt::KeyboardModifiers heldKeys = Qt::NoModifier;
    std::function<void(QDialog&)> onModal;
    int modalCount = 0;
    int programEnds = 0;
};

}  // namespace tess::explorer
