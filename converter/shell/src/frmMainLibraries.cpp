#include <QAction>
#include <QEventLoop>
#include <QPushButton>
#include <QScopeGuard>

#include "projects/qt/frmGFXLib.h"
#include "shell/SharedFunctions.h"
#include "shell/frmMain.h"
#include "workspace/WorkspaceActions.h"

// Graphics libraries: the browser's opening from the Tools menu and Command11, and the picture it
// hands back as the working picture.

namespace tess {

namespace {

// The source line of a picture taken from a library: it names no file, so nothing loads it.
constexpr std::string_view kLibrarySourceLine = "Using Graphics Library Image";

}  // namespace

frmGFXLib* frmMain::libraryBrowser() const {
    return libraryBrowser_.data();
}

LibraryBrowserLinks frmMain::libraryBrowserLinks() {
    LibraryBrowserLinks links;
    links.services = &services_;
    links.progressWindow = [this]() -> ProgressWindow& { return progressWindow(); };
    links.mainWindow = [this] { return static_cast<QWidget*>(this); };
    links.libraryItemEnabled = [this] { return mnuGFXLib->isEnabled(); };
    links.setLibraryItemEnabled = [this](bool enabled) { mnuGFXLib->setEnabled(enabled); };
    links.applyTooltipSetting = [this](QWidget& w) { ApplyTooltipSetting(w, services_.settings); };
    links.applyTransparency = [this](QWidget& w) { ApplyTransparency(w, state_); };
    links.takePicture = [this](const Picture& picture, const std::string& title) {
        takeLibraryPicture(picture, title);
    };
    links.GFXArrowLeft = &GFXArrowLeft;
    return links;
}

void frmMain::mnuGFXLib_Click() {
    // A mosaic run or an effect reads the picture until it ends; a second opening finds the
    // browser already there.
    if (!mosaicIdle() || libraryBrowser_)
        return;
    mnuGFXLib->setEnabled(false);
    Command11->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] {
        mnuGFXLib->setEnabled(true);
        Command11->setEnabled(true);
        setEnabled(true);
    });

    auto* browser = new frmGFXLib(libraryBrowserLinks(), this);
    libraryBrowser_ = browser;
    const auto destroy = qScopeGuard([browser] { delete browser; });
    QEventLoop modal;
    connect(browser, &frmGFXLib::unloaded, &modal, &QEventLoop::quit);
    browser->Form_Load();
    if (!browser->isLoaded())
        return;
    browser->show();
    // The browser is modal; its own library switch hides and shows it again, so its closing, not
    // its hiding, ends the wait.
    modal.exec();
}

void frmMain::takeLibraryPicture(const Picture& picture, const std::string& title) {
    SaveUndoData();
    PictureReplacement replacement;
    replacement.picture = picture;
    // The picture is no longer any file's: a project saved next stores it, as after a paste.
    replacement.change = {title, std::string(kLibrarySourceLine), true};
    replacement.statusText =
        "0x0 of " + std::to_string(picture.width()) + "x" + std::to_string(picture.height());
    replaceWorkingPicture(std::move(replacement));
}

}  // namespace tess
