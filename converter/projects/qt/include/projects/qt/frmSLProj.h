#pragma once

#include <QWidget>

#include "projects/qt/ProgressWindowLinks.h"

class QLabel;

namespace tess {

// The progress window: three lines telling what a long operation is doing (the action, its
// subject, the current step). It has no buttons and takes no input. At load it shows the
// hourglass and, by the two flags, disables the main window (ProgressLock) or the main window and
// the effects dialog (ProgressLockFX); its unload enables what the flags then name. ProgressWindow
// holds the program's one instance.
class frmSLProj : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 208;
    static constexpr int kClientHeight = 83;

    explicit frmSLProj(const ProgressWindowLinks& links);

    void Form_Load();
    void Form_Unload();

    QLabel* Label1 = nullptr;  // the action: "Saving...", "Loading...", "Applying Effect"
    QLabel* Label2 = nullptr;  // the subject: a shortened path, a library or an effect name
    QLabel* Label3 = nullptr;  // the current step

  protected:
    void paintEvent(QPaintEvent* event) override;
    // The user cannot close it; its caller unloads it when the work ends.
    void closeEvent(QCloseEvent* event) override;

  private:
    const ProgressWindowLinks& links_;
};

}  // namespace tess
