#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Services.h"
#include "windows/ExplorerState.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QStatusBar;
class QTableView;

namespace tess::qt {
class PictureBoxWidget;
}

namespace tess::explorer {

class MosaicListModel;
class ToolBarButton;

// The explorer's main window: the painted banner, the toolbar strip with the edit buttons and the
// directory chooser, the two check boxes, the mosaic list and the status bar. It lists the mosaic
// pages of one directory, edits their title, background colour and font size in the list, writes
// the edits back, opens pages in the browser and deletes them. Closing it ends the program.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // The window's client area at its design size, in pixels.
    static constexpr int kClientWidth = 557;
    static constexpr int kClientHeight = 331;
    static constexpr const char* kCaption = "Tessaryn Mosaic Explorer";
    static constexpr const char* kPlaceholder = "Please select a mosaic directory...";
    static constexpr const char* kWelcome = "Welcome to Tessaryn Mosaic Explorer";

    // `commandLine` is the program's argument string (one directory, or empty).
    frmMain(Services& services, ExplorerState& state, std::string commandLine,
            QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- Start-up, layout, shut-down ----
    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    void Form_Paint();
    // Stores the settings; false when the user kept unsaved edits by refusing to close.
    bool Form_Unload();
    void mnuExit_Click();
    void Check2_Click();
    void LoadChecks();

    // ---- Toolbar and backdrop ----
    void LoadResXP();
    void ToolBarButtons(bool HideFocusRect);
    // A shadow line and a highlight line below (or beside) it, in pixels.
    static void ThreeDLine(qt::PictureBoxWidget& TheForm, int X, int Y, int Width);
    static void ThreeDLineV(qt::PictureBoxWidget& TheForm, int X, int Y, int Height);

    // ---- Directory list ----
    void LoadDirList();
    void AddDirs(const std::string& sTheItem);
    void Combo1_Click();
    void Command1_Click();
    // Whether an entry names an existing directory that holds at least one "*.htm*" file.
    static bool isUsableDirectory(const std::string& entry);
    static bool isDirectory(const std::string& path);
    // The colour of a row's colour text: its last six characters as red, green and blue in
    // hexadecimal; nothing when they are not six hexadecimal digits ("Unknown").
    static std::optional<Colour> colourOfText(const std::string& text);

    // ---- Scan ----
    void Command2_Click();

    // ---- Editors and saves ----
    void Command4_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    // ---- Preview and delete ----
    void Command8_Click();
    void Command9_Click();
    void DeleteSelectedPermanently();
    // The Delete key of the list; `Shift` as the key event gives it (1 Shift, 2 Ctrl, 4 Alt).
    void ListView1_KeyDown(int& KeyCode, int Shift);

    // ---- List interaction ----
    void ListView1_ItemClick();
    void ListView1_MouseMove(int x, int y);
    void ListView1_DblClick();
    // `header` is the 1-based index of the clicked column as created.
    void ListView1_ColumnClick(int header);
    void CheckUpdate();
    void LoadSorts();
    void LoadOrders();
    // The hover text of a control with a tooltip (the model is Check1_MouseMove).
    void controlMouseMove(QWidget* control);
    // The pointer over a part of the window that puts the resting status back.
    void RestoreStatus();

    // ---- Form state ----
    int MinWidth = 0;
    int MinHeight = 0;
    bool LayoutReady = false;
    bool ChecksLoaded = false;
    bool NoListYet = true;
    std::string ListedDirIndex = "-1";
    // The directory whose mosaics the list shows, as a path; entries may move in the list.
    std::string ListedDir;
    std::string DefaultStatus;
    // The colour (six hexadecimal digits) whose swatch status panel 2 shows; none is the
    // no-swatch mark.
    std::optional<std::string> ShownColor;
    int LastMouseX = 0;
    int LastMouseY = 0;
    // The colour dialog's colour, kept from one use to the next.
    Colour CommonDialog1Color = 0;
    std::vector<std::string> List2;
    // The names of the directory's "*.htm*" files that the scan examines.
    std::vector<std::string> File1;

    // ---- Controls ----
    qt::PictureBoxWidget* client = nullptr;
    qt::PictureBoxWidget* Picture2 = nullptr;
    ToolBarButton* Command4 = nullptr;
    ToolBarButton* Command3 = nullptr;
    ToolBarButton* Command5 = nullptr;
    ToolBarButton* Command6 = nullptr;
    ToolBarButton* Command7 = nullptr;
    ToolBarButton* Command9 = nullptr;
    ToolBarButton* Command8 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    ToolBarButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    qt::PictureBoxWidget* Picture3 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QTableView* ListView1 = nullptr;
    QLabel* PicHide = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Panel1 = nullptr;
    QLabel* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuExit = nullptr;

    MosaicListModel& rows() { return *rows_; }
    const MosaicListModel& rows() const { return *rows_; }
    // The list's selected row (its current row), or -1.
    int selectedRow() const;
    // Makes `row` the selected row, as the program does (no selection handler runs).
    void selectRow(int row);
    // The sort column (0-based, as created) and order (0 ascending, 1 descending).
    int sortKey() const { return sortKey_; }
    int sortOrder() const { return sortOrder_; }
    void setSort(int key, int order);
    bool scanRunning() const;

    // How the window shows its own modal dialogs (the title and font-size dialogs); tests drive
    // them here instead.
    std::function<void(QDialog&)> runModal;
    // The modifier keys held right now; the delete reads Shift at the moment of the command.
    std::function<Qt::KeyboardModifiers()> keyboardModifiers;
    // What ends the program once the window has shut down.
    std::function<void()> endProgram;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    std::string setting(const char* key, const std::string& fallback) const;
    void saveSetting(const char* key, const std::string& value);
    void setStatus(const std::string& text);
    std::string status() const;
    void hideSwatch();
    void showSwatch(const std::string& colour);
    void setEditButtons(bool enabled);
    // With rows marked "update", asks before they are thrown away (true: go on).
    bool confirmDiscard(const std::string& prompt);
    void runScan();
    // Lets the status bar paint now and then during a scan (see kStatusPaintInterval).
    void paceStatusPaint();
    // During a scan the status panel keeps its size (its place in the bar does not depend on
    // its text), so a new text does not lay out the whole bar again.
    void freezeStatusPanel(bool frozen);
    // The frozen panel's size after the bar changed its own.
    void refitStatusPanel();
    void endScan(const std::string& entry);
    void autosizeColumns();
    // What a save could not write, and the file it concerns.
    struct SaveProblem {
        std::string fileName;
        std::string text;
        std::string why;  // for a file left alone as a whole: why, for the status; else empty
    };
    // One row's page written with its edits: true when every edit went into the page; else the
    // reason joins `problems` and the row stays marked.
    bool saveOneRow(int row, std::vector<SaveProblem>& problems);
    // The status names the files that kept an edit; the message box gives the reasons.
    void showSaveEnd(int saved, const std::vector<SaveProblem>& problems);
    void deleteSelected(bool permanently);
    bool rowFileExists(int row) const;
    void markChanged(int row);

    static constexpr int kStatusPanelMinWidth = 96;

    Services& services_;
    ExplorerState& state_;
    std::string commandLine_;
    MosaicListModel* rows_ = nullptr;
    int sortKey_ = 0;
    int sortOrder_ = 0;
    bool scanning_ = false;
    // The tick count at which the running scan last let the status bar paint.
    std::uint32_t statusPaintTick_ = 0;
    bool closeAfterScan_ = false;
    bool unloaded_ = false;
    bool selectingInCode_ = false;
    Picture bannerMain_;
    Picture bannerBlue_;
    Picture bannerBar_;
};

}  // namespace tess::explorer
