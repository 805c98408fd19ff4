// The directory list of the explorer's main window: the remembered directories, the folder
// picker and the question before the listed directory changes.
#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <system_error>

#include "explorer/MosaicScan.h"
#include "platform/Runtime.h"
#include "platform/qt/QtText.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmMain.h"

namespace tess::explorer {

using qt::fromQ;
using qt::toQ;

namespace {

constexpr std::size_t kRememberedBeforeNew = 20;

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string withoutSlash(std::string path) {
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

bool frmMain::isDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ec);
}

bool frmMain::isUsableDirectory(const std::string& entry) {
    if (!isDirectory(entry))
        return false;
    const Result<std::vector<std::string>> pages = listPages(entry);
    return pages.ok() && !pages->empty();
}

void frmMain::LoadDirList() {
    const std::string s = services_.settings.get("Tessaryn32\\Explorer", "MRU", "DirList", "");
    Combo1->clear();
    if (s.empty()) {
        Combo1->addItem(kPlaceholder);
    } else if (s.find(',') == std::string::npos) {
        Combo1->addItem(toQ(s));
    } else {
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = s.find(',', start);
            const std::string part = s.substr(start, comma - start);
            if (part != kPlaceholder)
                Combo1->addItem(toQ(part));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    Combo1->setCurrentIndex(0);
    Combo1_Click();
}

void frmMain::AddDirs(const std::string& sTheItem) {
    if (Combo1->count() == 0) {
        Combo1->addItem(toQ(sTheItem));
        Combo1->setCurrentIndex(0);
    } else if (fromQ(Combo1->itemText(0)) == kPlaceholder) {
        Combo1->removeItem(0);
        Combo1->insertItem(0, toQ(sTheItem));
        Combo1->setCurrentIndex(0);
    } else {
        const std::string wanted = rt::toLower(sTheItem);
        int existing = -1;
        for (int i = 0; i < Combo1->count() && existing < 0; ++i) {
            if (rt::toLower(fromQ(Combo1->itemText(i))) == wanted)
                existing = i;
        }
        if (existing >= 0) {
            // The directory the user chose becomes current, wherever it stands in the list.
            Combo1->setCurrentIndex(existing);
        } else {
            List2.clear();
            for (int i = 0; i < Combo1->count(); ++i)
                List2.push_back(fromQ(Combo1->itemText(i)));
            if (List2.size() > kRememberedBeforeNew)
                List2.resize(kRememberedBeforeNew);
            Combo1->clear();
            Combo1->addItem(toQ(sTheItem));
            for (const std::string& entry : List2)
                Combo1->addItem(toQ(entry));
            Combo1->setCurrentIndex(0);
        }
    }
    ListedDirIndex = std::to_string(Combo1->findText(toQ(ListedDir), Qt::MatchExactly));
    Combo1_Click();
}

void frmMain::Combo1_Click() {
    const std::string entry = fromQ(Combo1->currentText());
    const bool usable = isUsableDirectory(entry);
    if (NoListYet) {
        Command2->setEnabled(usable);
        return;
    }
    // The list's rows belong to the directory they were scanned from, whichever entry now
    // shows it.
    if (rows_->count() > 0 && entry != ListedDir) {
        const int answer = services_.dialogs.msgBox(
            "You are about to change the selected mosaic directory.\r\n\r\nThis will clear the "
            "contents of the list and you will lose any unsaved changes!\r\n\r\nAre you sure "
            "you want to do this?",
            mb::YesNo | mb::Question | mb::DefaultButton2, "Are you sure?");
        if (answer != mb::Yes) {
            const int listed = Combo1->findText(toQ(ListedDir), Qt::MatchExactly);
            if (listed >= 0) {
                Combo1->setCurrentIndex(listed);
                ListedDirIndex = std::to_string(listed);
            }
            Command2->setEnabled(isUsableDirectory(fromQ(Combo1->currentText())));
            return;
        }
        Command2->setEnabled(usable);
        ListedDirIndex = std::to_string(Combo1->currentIndex());
        ListedDir = entry;
        rows_->clear();
        setEditButtons(false);
        return;
    }
    Command2->setEnabled(usable);
}

void frmMain::Command1_Click() {
    const std::string P = withSlash(fromQ(Combo1->currentText()));
    // A folder that exists opens the picker on itself; anything else opens it without a choice.
    const std::string start = isDirectory(P) ? withoutSlash(P) : std::string();
    const std::optional<std::string> R =
        services_.dialogs.chooseFolder("Please select your Tessaryn mosaic directory.", start);
    if (!R || R->empty())
        return;
    AddDirs(rt::trim(withSlash(*R)));
}

}  // namespace tess::explorer
