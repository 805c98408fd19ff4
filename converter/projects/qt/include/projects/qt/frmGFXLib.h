#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/LineShape.h"
#include "platform/Picture.h"
#include "platform/qt/PictureBoxWidget.h"
#include "projects/GraphicsLibrary.h"
#include "projects/qt/LibraryBrowserLinks.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace tess {

// The library browser: the pictures of one graphics library, one at a time, over the main window,
// which it keeps from input while it is open (it is modal). The library menu switches to another
// library; a double click, Enter or Space takes the shown picture as the working picture. One
// instance per opening: Form_Load unpacks the library and builds the thumbnails of its ordinary
// pictures; one whose headers state a large picture gets its thumbnail, from a reduced decode,
// when it is first shown, and goes through the whole loader when taken. Browsing switches between
// thumbnails in memory. The unpacked pictures never touch the disk.
class frmGFXLib : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 308;
    static constexpr int kClientHeight = 210;
    static constexpr int kImage2DesignLeft = 50;
    static constexpr Colour kFrameColour = 0xFF0000;  // blue

    frmGFXLib(LibraryBrowserLinks links, QWidget* owner);
    ~frmGFXLib() override;

    // Whether Form_Load found a library and the window is not unloaded yet.
    bool isLoaded() const { return loaded_ && !unloaded_; }

    void Form_Load();
    // Runs once, however the window closes; later calls do nothing.
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Timer1_Timer();
    void mnuLibs_Click(int Index);
    void LoadGFXLibFile(const std::string& sFileName);
    void CleanGFXLibFiles(bool iIsShow);
    void CenterPic();
    void DrawPreviewFrame();
    void HScroll1_Change();
    void Image2_MouseUp(int Button, int Shift, double X, double Y);
    void Image3_MouseUp(int Button, int Shift, double X, double Y);
    void picPreview_KeyUp(int KeyCode, int Shift);
    // Sets KeyAscii to 0 to swallow the key.
    void picPreview_KeyPress(int& KeyAscii);
    void picPreview_DblClick();

    // ---- Controls ----
    qt::PictureBoxWidget* Image1 = nullptr;
    qt::PictureBoxWidget* Picture1 = nullptr;
    qt::PictureBoxWidget* picPreview = nullptr;
    LineShape Line1;
    LineShape Line2;
    LineShape Line3;
    LineShape Line4;
    qt::PictureBoxWidget* Image2 = nullptr;
    qt::PictureBoxWidget* Image3 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QMenu* mnuLibrary = nullptr;
    std::vector<QAction*> mnuLibs;
    QTimer* Timer1 = nullptr;
    // Never seen: the picture number's bar lies outside the client area.
    QScrollBar* HScroll1 = nullptr;

    // ---- The window's data ----
    // The valid libraries' file names; entry i belongs to mnuLibs[i].
    std::vector<std::string> TGLList;
    std::vector<std::string> TGLPaths;  // the full path of each of TGLList's libraries
    // The offered pictures of the loaded library and their thumbnails, same index.
    std::vector<std::string> BMPFile;
    std::vector<Picture> picFromDisk;
    std::string CurrentLibName;
    bool GFXMenuLocked = false;
    // The preview's place within Picture1, as CenterPic computed it.
    float previewLeft = 0;
    float previewTop = 0;

  signals:
    // The window has unloaded (closed, failed or taken a picture).
    void unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void paintViewport();
    // The menu entry i's caption, as shown.
    std::string libraryCaption(std::size_t i) const;
    void setLibraryCaption(std::size_t i, const std::string& caption);
    void checkOnly(std::size_t index);
    // Builds BMPFile and the thumbnails from the unpacking and shows the first picture; false when
    // the library gave no picture.
    bool showUnpackedPictures();
    void showPicture(std::size_t i);
    // Makes picture i's thumbnail if it is still pending.
    void makeThumbnail(std::size_t i);
    // The load's failure: the message, then the unload.
    void failLoad();
    // The main window takes input again after an unpacking.
    void releaseMain();

    LibraryBrowserLinks links_;
    std::vector<std::string> captions_;
    // What the last unpacking gave; emptied by CleanGFXLibFiles.
    std::vector<LibraryPicture> unpacked_;
    // Same index as BMPFile: the file bytes of a picture left pending at the unpacking (empty for
    // the others), and whether its thumbnail is still to be made.
    std::vector<std::string> pendingData_;
    std::vector<bool> thumbnailPending_;
    bool mainLocked_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
};

}  // namespace tess
