// The main window's project commands and the progress window they share with the effects and
// the graphics library.

#include "shell/SharedFunctions.h"
#include "shell/frmMain.h"

namespace tess {

ProgressWindow& frmMain::progressWindow() {
    if (!progress_) {
        ProgressWindowLinks links;
        links.ProgressLock = &state_.ProgressLock;
        links.ProgressLockFX = &state_.ProgressLockFX;
        links.mainWindow = [this] { return static_cast<QWidget*>(this); };
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

}  // namespace tess
