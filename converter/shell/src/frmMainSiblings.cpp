#include "shell/frmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/MenuOpening.h"
#include "platform/qt/QtText.h"

// The things beside the program that may be missing: the explorer, the graphics libraries and the
// library builder; the Tools menu's launchers and its half-size item.

namespace tess {

using qt::fromQ;

namespace {

// The explorer's program file beside the converter's.
constexpr const char* kExplorerFileName = "Wenderlock";

}  // namespace

void frmMain::connectSiblings() {
    qt::MenuOpening::connect(*this, *mnuTools, [this] { mnuTools_Click(); });
    connect(mnuWenderlock, &QAction::triggered, this, [this] { mnuWenderlock_Click(); });
    connect(mnuTGLBuilder, &QAction::triggered, this, [this] { mnuTGLBuilder_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
}

std::string frmMain::GetCurrentMosaicDir(const std::string& ReturnDirOnError) const {
    const std::string output = fromQ(Text2->text());
    const std::size_t last = output.rfind('/');
    if (last == std::string::npos)
        return ReturnDirOnError;
    return output.substr(0, last + 1);
}

void frmMain::CheckExplorer() {
    if (FileExists(joinPath(services_.folders.program, kExplorerFileName))) {
        mnuWenderlock->setVisible(true);
        mnuMELineBr->setVisible(true);
        ExplorerName = kExplorerFileName;
    } else {
        mnuWenderlock->setVisible(false);
        mnuMELineBr->setVisible(false);
    }
}

void frmMain::CheckGFXLib() {
    // The shipped folder first, then the user's own; the list stays on the last one looked at.
    bool libraries = false;
    for (const std::string& folder : services_.folders.graphics) {
        const Status listed = File1.setPath(folder);
        File1.setPattern("*.tgl");
        File1.refresh();
        libraries = listed.ok() && File1.listCount() > 0;
        if (libraries)
            break;
    }
    mnuGFXLib->setEnabled(libraries);
    Command11->setEnabled(libraries);
}

void frmMain::CheckHelp() {
    mnuOLHelp->setEnabled(true);
    mnuOLHelp->setVisible(true);
    mnuLine6->setVisible(true);
}

void frmMain::mnuWenderlock_Click() {
    const std::string mosaics = services_.folders.mosaics() + "/";
    // A failed launch shows nothing, as the menu promises no more than trying.
    (void)services_.shell.start(joinPath(services_.folders.program, ExplorerName),
                                GetCurrentMosaicDir(mosaics));
}

void frmMain::mnuTGLBuilder_Click() {
    (void)services_.shell.start(BuilderPath, "");
}

void frmMain::mnuTools_Click() {
    mnuHalfSize->setEnabled(srcPic->box().width() > 1 && srcPic->box().height() > 1);
}

void frmMain::Command11_Click() {
    mnuGFXLib_Click();
}

}  // namespace tess
