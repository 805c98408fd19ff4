#include "shell/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScopeGuard>
#include <exception>

#include "platform/Files.h"
#include "platform/Runtime.h"
#include "platform/qt/MenuOpening.h"
#include "platform/qt/QtText.h"
#include "shell/RecentFiles.h"
#include "shell/StoredSettings.h"

// The File menu: the four recent project files, the text-pattern item's state, Exit.

namespace tess {

using qt::toQ;

namespace {

std::string recentKey(std::size_t slot) {
    return "LastFile" + std::to_string(slot + 1);
}

}  // namespace

void frmMain::connectRecentFiles() {
    qt::MenuOpening::connect(*this, *mnuFile, [this] { mnuFile_Click(); });
    for (std::size_t k = 0; k < mnuPreviousFiles.size(); ++k) {
        connect(mnuPreviousFiles[k], &QAction::triggered, this,
                [this, k] { mnuPreviousFiles_Click(static_cast<int>(k)); });
    }
}

void frmMain::PreviousFiles(const std::string& sAction) {
    const std::string action = rt::toLower(sAction);
    if (action == "save") {
        for (std::size_t k = 0; k < PrevFiles.size(); ++k) {
            services_.settings.save(std::string(settings::kApp), std::string(settings::kSection),
                                    recentKey(k), PrevFiles[k]);
        }
    } else if (action == "load") {
        for (QAction* item : mnuPreviousFiles)
            item->setVisible(false);
        mnuLineBRLF->setVisible(false);
        RecentSlots stored;
        for (std::size_t k = 0; k < stored.size(); ++k)
            stored[k] = settings::read(services_.settings, recentKey(k), "");
        const std::vector<std::string> shown = shownRecentFiles(stored, recentEntryValid);
        PrevFiles = {};
        for (std::size_t n = 0; n < shown.size(); ++n) {
            mnuPreviousFiles[n]->setText(toQ(recentCaption(static_cast<int>(n + 1), shown[n])));
            PrevFiles[n] = shown[n];
            mnuPreviousFiles[n]->setVisible(true);
            mnuLineBRLF->setVisible(true);
        }
    }
}

void frmMain::PreviousFilesArray(const std::string& sFileName) {
    if (const std::optional<RecentSlots> updated =
            addRecentFile(PrevFiles, sFileName, recentEntryValid)) {
        PrevFiles = *updated;
        PreviousFiles("save");
        PreviousFiles("load");
    }
}

void frmMain::mnuPreviousFiles_Click(int Index) {
    const std::size_t slot = static_cast<std::size_t>(Index);
    std::string path = PrevFiles.at(slot);
    if (FileExists(path)) {
        mnuLoadProj->setEnabled(false);
        const auto enableAgain = qScopeGuard([this] { mnuLoadProj->setEnabled(true); });
        try {
            LoadTProject(path);
        } catch (const std::exception&) {
            // The project code reports its own failures; the menu only has to come back.
        }
        return;
    }
    services_.dialogs.msgBox(path +
                                 "\r\nCannot find this file.\r\n"
                                 "Please verify that the correct path and file name are given.",
                             mb::OKOnly | mb::Exclamation, "Cannot Find File");
    for (std::size_t k = 0; k < PrevFiles.size(); ++k) {
        services_.settings.save(std::string(settings::kApp), std::string(settings::kSection),
                                recentKey(k), k == slot ? "" : PrevFiles[k]);
    }
    PreviousFiles("load");
}

void frmMain::mnuFile_Click() {
    mnuLoadText->setEnabled(Combo2->currentIndex() == 0);
}

}  // namespace tess
