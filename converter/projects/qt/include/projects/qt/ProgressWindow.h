#pragma once

#include <QPointer>
#include <string>

#include "projects/qt/ProgressWindowLinks.h"
#include "projects/qt/frmSLProj.h"

namespace tess {

// The program's one progress window. Reaching it (form(), or writing its lines) creates and loads
// it when it is not loaded; unload() runs its unload and destroys it, and the next access creates
// it afresh. A caller sets ProgressLock (or ProgressLockFX) before the first access when the
// window is to disable the main window, and clears it only after unload().
//
//     progress.setLines("Saving...", ShortFileName(path), "Compiling data...");
//     progress.show(mainWindow);
//     progress.step("Compressing project...");
//     progress.unload();
class ProgressWindow {
  public:
    explicit ProgressWindow(ProgressWindowLinks links);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Filled by the program as its windows come to exist (the effects dialog, for one).
    ProgressWindowLinks& links() { return links_; }

    frmSLProj& form();
    bool isLoaded() const { return !form_.isNull(); }

    // Writes the three lines (loading the window).
    void setLines(const std::string& action, const std::string& subject, const std::string& step);
    // Shows the window modeless, owned by `owner` and centred over it, then gives the event loop
    // one turn so it paints.
    void show(QWidget& owner);
    // Rewrites the step line and gives the event loop a turn.
    void step(const std::string& text);
    // Runs the window's unload and destroys it; nothing when it is not loaded.
    void unload();

  private:
    void yield();

    ProgressWindowLinks links_;
    QPointer<frmSLProj> form_;
};

}  // namespace tess
