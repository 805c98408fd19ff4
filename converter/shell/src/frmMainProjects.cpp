#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <new>
#include <optional>

#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtText.h"
#include "projects/ProjectFile.h"
#include "projects/qt/ProjectPicture.h"
#include "shell/Hourglass.h"
#include "shell/SharedFunctions.h"
#include "shell/frmFX.h"
#include "shell/frmMain.h"
#include "workspace/Loading.h"
#include "workspace/PictureChange.h"

// Project files: the save and open commands, the reader behind them, the recent files and the
// command line, and the progress window they share with the effects and the graphics library.

namespace tess {

using qt::fromQ;
using qt::toQ;

namespace {

constexpr std::string_view kProjectFilter = "Tessaryn Project Workspace (*.tpw;*.tpf)|*.tpw;*.tpf";
// Overwrite prompt, hide read-only, path must exist, no network button.
constexpr int kSaveProjectFlags = 133126;
// Hide read-only, path and file must exist, no network button.
constexpr int kOpenProjectFlags = 137220;
constexpr std::string_view kProjectSourceLine = "Using Image From Tessaryn Project";

void showLoadError(Dialogs& dialogs, const std::string& path, const std::string& reason) {
    dialogs.msgBox("Error loading " + path + ".\r\n\r\n" + reason, mb::OKOnly | mb::Exclamation,
                   "Error loading TPW or TPF");
}

}  // namespace

void frmMain::connectProjects() {
    connect(mnuLoadProj, &QAction::triggered, this, [this] { mnuLoadProj_Click(); });
    connect(mnuSaveProj, &QAction::triggered, this, [this] { mnuSaveProj_Click(); });
}

ProgressWindow& frmMain::progressWindow() {
    if (!progress_) {
        ProgressWindowLinks links;
        links.ProgressLock = &state_.ProgressLock;
        links.ProgressLockFX = &state_.ProgressLockFX;
        links.mainWindow = [this] { return static_cast<QWidget*>(this); };
        // Only an open dialog: the progress window never loads one of its own.
        links.effectsDialog = [this] { return static_cast<QWidget*>(loadedEffectsDialog()); };
        links.applyTransparency = [this](QWidget& window) { ApplyTransparency(window, state_); };
        links.pump = &services_.pump;
        progress_ = std::make_unique<ProgressWindow>(std::move(links));
    }
    return *progress_;
}

void frmMain::showProgress(const std::string& action, const std::string& subject,
                           const std::string& step, QWidget* owner) {
    ProgressWindow& progress = progressWindow();
    progress.setLines(action, subject, step);
    progress.show(owner ? *owner : *this);
}

void frmMain::mnuSaveProj_Click() {
    Hourglass hourglass(*this);
    CMDialog1.Filter = std::string(kProjectFilter);
    CMDialog1.Flags = kSaveProjectFlags;
    CMDialog1.FileName = ProjectSavePath;
    if (!CMDialog1.ShowSave(services_.dialogs))
        return;
    ProjectSavePath = CMDialog1.FileName;
    const std::string path = ProjectSavePath;

    // The whole file is made in memory and takes the old one's place only once it is complete,
    // so a failure leaves an existing project as it was.
    Status saved;
    {
        state_.ProgressLock = true;
        mnuSaveProj->setEnabled(false);
        const auto end = qScopeGuard([this] {
            progressWindow().unload();
            mnuSaveProj->setEnabled(true);
            state_.ProgressLock = false;
            services_.pump.doEvents();
        });
        showProgress("Saving...", ShortFileName(path), "Compiling data...");
        MosaicOptions options = mosaicOptionsFromControls();
        options.OutputPath =
            projectOutputPath(options.OutputPath, services_.clock.secondsSinceMidnight() / 86400.0,
                              services_.random.next());
        ProgressWindow& progress = progressWindow();
        progress.step("Processing image data...");
        const std::string picture =
            projectPictureFile(state_.ImageChanged, fromQ(Text1->text()), srcPic->box().surface(),
                               kWorkingPictureBackColour);
        progress.step("Compressing project...");
        Result<std::string> file = writeProjectFile(options, picture);
        progress.step("Cleaning up...");
        saved = file ? writeFileAtomic(path, *file) : Status(file.error());
    }
    hourglass.restore();
    if (!saved) {
        services_.dialogs.msgBox("Error saving " + path + ".\r\n\r\n" + saved.error().reason,
                                 mb::OKOnly | mb::Exclamation, "Error saving TPW or TPF");
        return;
    }
    PreviousFilesArray(path);
}

void frmMain::mnuLoadProj_Click() {
    CMDialog1.Filter = std::string(kProjectFilter);
    CMDialog1.Flags = kOpenProjectFlags;
    CMDialog1.FileName = ProjectOpenPath;
    if (!CMDialog1.ShowOpen(services_.dialogs))
        return;
    ProjectOpenPath = CMDialog1.FileName;
    mnuLoadProj->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { mnuLoadProj->setEnabled(true); });
    LoadTProject(ProjectOpenPath);
}

void frmMain::LoadTProject(std::string& path) {
    // A mosaic run reads the picture and the options until it ends.
    if (!mosaicIdle())
        return;
    Hourglass hourglass(*this);
    Result<std::string> file = readProjectFile(path);
    Result<int> version = file ? readProjectVersion(*file) : Result<int>(file.error());
    if (!version) {
        hourglass.restore();
        showLoadError(services_.dialogs, path, version.error().reason);
        return;
    }
    if (project::kVersion < *version) {
        const int answer = services_.dialogs.msgBox(
            "This Tessaryn Project was created in a newer version of Tessaryn than you are "
            "currently running.\r\nThis project may not load correctly, do you wish to continue "
            "anyway?",
            mb::YesNo | mb::Question, "Unsupported TPW or TPF Version");
        if (answer == mb::No)
            return;
    }

    // Everything is read and checked, the picture decoded included, before anything changes.
    std::optional<LoadedProject> loaded;
    std::optional<Picture> picture;
    std::string customText;
    std::string failure;
    {
        state_.ProgressLock = true;
        const auto end = qScopeGuard([this] {
            progressWindow().unload();
            state_.ProgressLock = false;
        });
        showProgress("Loading...", ShortFileName(path), "Opening file...");
        ProgressWindow& progress = progressWindow();
        progress.step("Expanding project...");
        Result<LoadedProject> read = readProject(*file);
        progress.step("Loading settings...");
        progress.step("Loading custom text...");
        if (read) {
            progress.step("Loading image data...");
            Result<Picture> decoded = decodePicture(read->picture, kWorkingPictureBackColour);
            if (decoded) {
                try {
                    // The memory for the custom text box's document is found before anything
                    // changes.
                    qt::MultiLineTextBox::checkRoomFor(read->options.CustomText);
                    customText = std::move(read->options.CustomText);
                    loaded = std::move(read).value();
                    picture = std::move(decoded).value();
                } catch (const std::bad_alloc&) {
                    failure = "There is not enough memory to load the project's custom text.";
                }
            } else {
                failure = "The project's picture cannot be read: " + decoded.error().reason;
            }
        } else {
            failure = read.error().reason;
        }
        if (loaded) {
            const MosaicOptions& o = loaded->options;
            Text4->setText(toQ(o.Title));
            CommonDialog1.Color = o.BGColor;
            Picture5->box().setBackColor(o.BGColor);
            Picture5->update();
            if (o.FontSize == 8) {
                state_.NoCSSDialog = true;
                const auto allowDialog = qScopeGuard([this] { state_.NoCSSDialog = false; });
                state_.CSSSize = o.CSSSize;
                state_.CSSUnit = o.CSSUnit;
                Combo1->removeItem(Combo1->count() - 1);
                Combo1->addItem(
                    toQ("CSS - Custom... (" + std::to_string(o.CSSSize) + o.CSSUnit + ")"));
                selectComboIndex(Combo1, Combo1->count() - 1);
            } else {
                selectComboIndex(Combo1, o.FontSize);
            }
            selectComboIndex(Combo3, o.Spacer);
            selectComboIndex(Combo2, o.Mode);
            Text3->setUtf8Text(std::move(customText));

            SaveUndoData();
            srcPic->box().setPicture(std::move(*picture));
            fitSrcPic();
            srcPic->update();
            progress.step("Cleaning up...");
            Text1->setText(toQ(kProjectSourceLine));
            Label6->setText(toQ(idleStatusText(srcPic->box().width(), srcPic->box().height())));
            DrawImageEdges();
            UpdateScrollBars();
        }
    }
    hourglass.restore();
    if (!loaded) {
        showLoadError(services_.dialogs, path, failure);
        return;
    }
    PreviousFilesArray(path);
    services_.pump.doEvents();
}

}  // namespace tess
