#pragma once

#include <QDialog>

#include "platform/Picture.h"
#include "platform/Services.h"
#include "platform/qt/PictureBoxWidget.h"
#include "shell/ConverterState.h"

class QGroupBox;
class QListWidget;
class QPushButton;

namespace tess {

class frmMain;

// The effects dialog: the 38 effects in a list, each previewed on a 120 x 100 thumbnail of the
// working picture as it is selected, and OK to have the main window apply the selected one. It is
// modeless and owned by the main window, which creates it on first use ("Image Effects...") and
// fills its thumbnail; OK, Cancel and the close box unload it, and the next use creates it afresh
// with no selection and OK disabled.
class frmFX : public QDialog {
    Q_OBJECT
  public:
    // The client area, in pixels.
    static constexpr int kClientWidth = 524;
    static constexpr int kClientHeight = 292;

    frmFX(frmMain& main, Services& services, ConverterState& state);

    void Form_Load();
    // A selection: the clean thumbnail back into the preview, OK enabled, the entry's preview.
    void List1_Click();
    // OK: the selected effect applied by the main window's handler, behind the progress window,
    // then the dialog unloads. Every window it disables and the pointer come back on every way
    // out; while it runs, a second OK, a close and Cancel do nothing.
    void Command1_Click();
    // Cancel: unloads the dialog; nothing else changes.
    void Command2_Click();

    // The thumbnail "Image Effects..." built: drawn into the scratch picture, whose image becomes
    // the picture of both the preview and the clean copy. The selection and OK stay as they are.
    void setThumbnail(const Picture& thumbnail);

    // Unloaded by OK, Cancel or the close box: hidden and about to be destroyed.
    bool isUnloaded() const { return unloaded_; }
    // OK is under way (the wait, the effect).
    bool isApplying() const { return applying_; }

    qt::PictureBoxWidget* Image1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QListWidget* List1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    qt::PictureBoxWidget* srcPic = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    // Hidden: the clean copy of the thumbnail, and the previews' scratch picture.
    qt::PictureBoxWidget* picNoFX = nullptr;
    qt::PictureBoxWidget* flipPic = nullptr;

  public slots:
    // Escape, as the close box.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The selected list index, or -1.
    int selectedIndex() const;
    void unload();

    frmMain& main_;
    Services& services_;
    ConverterState& state_;
    // The entry selected last, whose preview is shown; a selection the user takes back with the
    // Ctrl key leaves it as it was.
    int chosen_ = -1;
    bool applying_ = false;
    bool unloaded_ = false;
};

}  // namespace tess
