#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effects/Effect.h"
#include "engine/MosaicOptions.h"
#include "platform/LineShape.h"
#include "platform/Services.h"
#include "platform/qt/MultiLineTextBox.h"
#include "platform/qt/PictureBoxWidget.h"
#include "projects/qt/LibraryBrowserLinks.h"
#include "projects/qt/ProgressWindow.h"
#include "shell/CommonDialog.h"
#include "shell/ConverterState.h"
#include "shell/FileListBox.h"
#include "shell/StoredSettings.h"
#include "shell/WebCommands.h"
#include "workspace/ResizeCommands.h"
#include "workspace/UndoStore.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTextEdit;

namespace tess {

class frmCResize;
class frmCSS;
class frmFX;
class frmGFXLib;
struct PictureReplacement;

// The converter's main window: a fixed window with the tab control SSTab1 (picture, options,
// output), the status panel, the create button and the menus. Its controls are the only store of
// the current mosaic options. Closing it ends the program.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // The window's client area, in pixels.
    static constexpr int kClientWidth = 443;
    static constexpr int kClientHeight = 366;
    // The last effect item's caption before any effect ran (three leading blanks).
    static constexpr const char* kLastFXDesignCaption = settings::kLastEffectDesignCaption.data();

    // The member functions are defined in files named by their concern, in the order of the
    // sections below; a new concern adds its own file and section.

    // ---- Construction and layout (frmMain.cpp) ----
    // Builds the controls in their design state; Form_Load then starts the window up.
    frmMain(Services& services, ConverterState& state, std::vector<std::string> arguments,
            QWidget* parent = nullptr);
    ~frmMain() override;
    // The open CSS size dialog, while it is shown.
    frmCSS* cssDialog() const;

    // ---- Start-up and shut-down (frmMainLoad.cpp) ----
    // The start-up sequence; runs once, before the window is first shown.
    void Form_Load();
    // First activation lets dialogs take the chosen transparency.
    void Form_Activate();
    // Shut-down: window state, last effect, undo files; then the program ends.
    void Form_Unload();
    void SplitFX();
    void LoadOptions();
    void mnuExit_Click();

    // ---- The mosaic options (frmMainOptions.cpp) ----
    void Combo1_Click();
    void Combo2_Click();
    void mnuBGColor_Click();
    void Picture5_Click();
    // The combo's selection set by the program; runs the list's click handler as a user's choice
    // does.
    void selectComboIndex(QComboBox* combo, int index);
    // The output target.
    void Command3_Click();
    void Text2_Change();
    void Check3_Click();
    void CopyToCBUI();
    // The custom text from a file.
    void Command4_Click();
    void mnuLoadText_Click();
    // Loads a custom-text file into Text3; a file refused as too large or for want of memory is
    // told in a box, with Text3 and the picture as they were.
    void loadCustomTextFile(const std::string& path);
    // The priority menu.
    void mnuNormalP_Click();
    void mnuHighP_Click();

    // ---- The working picture (frmMainWorkspace.cpp) ----
    // Picture view. DrawImageEdges and UpdateScrollBars follow every change of the working
    // picture, in that order; srcPic's control takes its picture's size there.
    void DrawImageEdges();
    void UpdateScrollBars();
    void HScroll1_Change();
    void VScroll1_Change();
    // Picture loading. Dropped files arrive as local paths; the target word is "Image" or "Text".
    void Command1_Click();
    void DragNDrop(const std::vector<std::string>& files, const std::string& sSource);
    void Command1_OLEDragDrop(const std::vector<std::string>& files);
    void Picture1_OLEDragDrop(const std::vector<std::string>& files);
    void srcPic_OLEDragDrop(const std::vector<std::string>& files);
    void Text1_OLEDragDrop(const std::vector<std::string>& files);
    void Text3_OLEDragDrop(const std::vector<std::string>& files);
    // Undo: every change of the working picture but undo itself saves the undo copy first.
    void SaveUndoData();
    // SaveUndoData, then `change`, which may touch the working picture's surface but not its
    // assigned picture: the copy, which is of the assigned picture, is written meanwhile.
    void SaveUndoDataDuring(const std::function<void()>& change);
    void mnuUndo_Click();
    // The Edit menu and the picture's pop-up menu.
    void mnuEdit_Click();
    void mnuCopy_Click();
    void mnuCopyImage_Click();
    void mnuPaste_Click();
    void mnuHIDImage_Click();
    void srcPic_MouseUp(int Button, int Shift, int X, int Y);
    void Text1_GotFocus();
    void Text1_LostFocus();

    // ---- The mosaic run (frmMainRun.cpp) ----
    // Command2 starts a run when idle and asks the running one to stop.
    void Command2_Click();
    // The status panel and the size preview.
    void picStatus_Paint();
    void Form_Paint();
    void Lite3D(qt::PictureBoxWidget& TheForm, const QWidget& TheControl, int Thickness);
    void mnuFSP_Click();

    // ---- Effects (frmMainEffects.cpp) ----
    // The 38 effect handlers, in the order of the effects dialog's list (the effect table). Each
    // runs its effect on the whole working picture: the undo copy, the pixel work, ImageChanged
    // and the last-effect caption. The dialog dispatches by index, the repeat by display name.
    void mnu3DTiles_Click();
    void mnuBRTiles_Click();
    void mnuBandW_Click();
    void mnuBlur_Click();
    void mnuBoxes_Click();
    void mnuBright_Click();
    void mnuCircleWorm_Click();
    void mnuCircular_Click();
    void mnuCorruption_Click();
    void mnuCorruptionB_Click();
    void mnuDarken_Click();
    void mnuContrastDown_Click();
    void mnuEyes_Click();
    void mnuGrey_Click();
    void mnuContrastUp_Click();
    void mnuInfrared_Click();
    void mnuIEmboss_Click();
    void mnuInterlace_Click();
    void mnuIScape_Click();
    void mnuMosaic_Click();
    void mnuMTiles_Click();
    void mnuNeon_Click();
    void mnuNightCam_Click();
    void mnuOEmboss_Click();
    void mnuOutline_Click();
    void mnuPixelate_Click();
    void mnuPTiles_Click();
    void mnuRGBBlue_Click();
    void mnuRGBGreen_Click();
    void mnuRGBRed_Click();
    void mnuSpiral_Click();
    void mnuStereoG_Click();
    void mnuTargets_Click();
    void mnuTV_Click();
    void mnuTVSnowBW_Click();
    void mnuTVSnow_Click();
    void mnuVisor_Click();
    void mnuXFiles_Click();
    // Runs row `index` of the effect table; a row whose effect is not built does nothing.
    void runEffect(int index);
    // Repeats the effect the last-effect caption names, behind the progress window.
    void mnuLastFX_Click();
    // The flip and invert tools (menu items and toolbar buttons); not remembered as an effect.
    void mnuFlipH_Click();
    void mnuFlipV_Click();
    void mnuInvert_Click();
    // "Image Effects...": builds the 120 x 100 thumbnail of the working picture into the effects
    // dialog and shows the dialog, modeless; an open dialog keeps its selection.
    void mnuImgEfx_Click();
    // The effects dialog (frmFX); reaching it creates and loads it when it is not loaded.
    frmFX& effectsDialog();
    // The loaded effects dialog, or null.
    frmFX* loadedEffectsDialog() const;
    // The handler of row `index` of the effect table (mnu3DTiles_Click .. mnuXFiles_Click), as the
    // effects dialog's OK and the repeat of the last effect call it.
    void callEffectHandler(int index);
    // The effects dialog's wait before it applies an effect holds the working picture as an
    // effect does: nothing else may change it meanwhile. False (and nothing held) while a mosaic
    // run or an effect is under way.
    bool beginEffectWait();
    void endEffectWait();

    // ---- Resize (frmMainResize.cpp) ----
    // Half and double size, plain (the platform's stretch) and resampled. A side of 1 has no half:
    // the halving commands then change nothing.
    void mnuHalfSize_Click();
    void mnuDSize_Click();
    void mnuCutIHR_Click();
    void mnuDSizeR_Click();
    // The size modes of the shrink and grow buttons; each click moves the check and stores it.
    void mnuHidResize1_Click();
    void mnuResample1_Click();
    void mnuResize2_Click();
    void mnuResample2_Click();
    // The toolbar's shrink, grow and resize buttons; a right button released over shrink or grow
    // pops up its size-mode menu.
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command8_MouseUp(int Button, int Shift, int X, int Y);
    void Command9_MouseUp(int Button, int Shift, int X, int Y);
    // "Custom Resize...": the dialog, modal over this window.
    void mnuCResize_Click();
    // The open custom resize dialog, while it is shown.
    frmCResize* resizeDialog() const;
    // The frame of every resize: flipPic is given the new size before anything changes, the new
    // picture is drawn into it while the undo copy is saved (one that cannot be written leaves
    // nothing to undo), then the picture, Label6 (with " (Idle)" when `idleStatus`), the edges, the
    // scroll bars and ImageChanged. False, and nothing changed, when the new picture cannot be had
    // or a mosaic run is under way. The caller shows the hourglass.
    bool resizeWorkingPicture(PictureSize size, ResizeDrawing drawing, bool idleStatus);

    // ---- Projects (frmMainProjects.cpp) ----
    // The program's one progress window (frmSLProj); reaching it loads it. Set ProgressLock or
    // ProgressLockFX first when its load is to disable the windows (the second also disables the
    // open effects dialog).
    ProgressWindow& progressWindow();
    // Writes the progress window's three lines and shows it owned by `owner` (this window when
    // null), giving the event loop one turn; progressWindow().step() and .unload() go on from
    // there.
    void showProgress(const std::string& action, const std::string& subject,
                      const std::string& step, QWidget* owner = nullptr);
    // The File menu's project commands, and the reader behind the open command, the recent files
    // and the command line. A file that fails any check is reported and changes nothing.
    void mnuSaveProj_Click();
    void mnuLoadProj_Click();
    void LoadTProject(std::string& path);
    // The names last chosen in the project save and open dialogs.
    std::string ProjectSavePath;
    std::string ProjectOpenPath;

    // ---- Libraries (frmMainLibraries.cpp) ----
    // The menu item and Command11 open the library browser (modal) and take back the picture it
    // hands over as the working picture.
    void mnuGFXLib_Click();
    // The open library browser, while it is open.
    frmGFXLib* libraryBrowser() const;
    // The left arrow's design position, kept from the browser's first load on.
    std::int32_t GFXArrowLeft = 0;

    // ---- Periphery ----
    // The preferences panel and the option summary (frmMainPreferences.cpp).
    void mnuSettings_Click();
    void Command1b_Click();
    void Command2b_Click();
    void Command3b_Click();
    void Check1b_Click();
    void Check2b_Click();
    void Check2_Click();
    void Combo1b_Click();
    void Combo2b_Click();
    void Combo3b_Click();
    void Combo4b_Click();
    void Combo5b_Click();
    void Picture3b_Click();
    void Picture3b_KeyDown(int KeyCode, int Shift);
    void Picture3b_GotFocus();
    void Picture3b_LostFocus();
    void SSTab1_Click(int PreviousTab);
    // Recent project files (frmMainRecent.cpp); PreviousFiles takes "load" or "save".
    void PreviousFiles(const std::string& sAction);
    void PreviousFilesArray(const std::string& sFileName);
    void mnuPreviousFiles_Click(int Index);
    void mnuFile_Click();
    // Window position and transparency (frmMainWindowMenu.cpp).
    void LoadSizePos();
    void mnuRWSP_Click();
    void mnuTransVal_Click(int Index);
    // What SaveWindowState stores at shut-down.
    void saveWindowPosition();
    // The checked transparency entry (the highest, if several), 0 when none.
    int transparencyChoice() const;
    // Sibling programs and folders (frmMainSiblings.cpp).
    std::string GetCurrentMosaicDir(const std::string& ReturnDirOnError) const;
    void CheckGFXLib();
    void CheckHelp();
    void CheckExplorer();
    void mnuWenderlock_Click();
    void mnuTGLBuilder_Click();
    void mnuTools_Click();
    void Command11_Click();
    // Web commands, the about panel, the options review's "Change" (frmMainWeb.cpp).
    void mnuOLHelp_Click();
    void mnuContact_Click();
    void mnuRBug_Click();
    void mnuDonate_Click();
    void mnuCUpdate_Click();
    void mnuHBDR_Click();
    void Label13_Click();
    void Label17_Click();
    void mnuAboutMe_Click();
    void Command13_Click();
    void Command14_Click();
    // Whether another converter was running when this one started (the update query says so).
    bool otherInstanceRunning = false;

    // ---- Form members ----
    std::string TextFilePath;
    std::string ImagePath;
    std::string OutputDlgPath;
    std::string BuilderPath;
    std::string ExplorerName;
    bool CopyIsImage = true;
    bool SpeedLog = false;
    bool OptionsLoaded = false;
    std::int32_t ProgressPos = 0;
    // picStatus's horizontal scale: during a run one unit per cell; 0 measures in pixels.
    std::int32_t StatusScaleWidth = 0;
    std::array<std::string, 4> PrevFiles;

    // ---- Non-visual controls ----
    FileListBox File1;
    CommonDialog CMDialog1;
    CommonDialog CommonDialog1;
    CommonDialog CommonDialog1b;

    // ---- Controls ----
    QTabWidget* SSTab1 = nullptr;
    // Tab 1: the picture.
    QLabel* Label10 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QFrame* Picture1Border = nullptr;
    qt::PictureBoxWidget* Picture1 = nullptr;
    qt::PictureBoxWidget* srcPic = nullptr;
    qt::PictureBoxWidget* flipPic = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    qt::PictureBoxWidget* Picture2 = nullptr;
    qt::PictureBoxWidget* Picture5 = nullptr;
    LineShape Line3;
    LineShape Line4;
    LineShape Line6;
    LineShape Line7;
    LineShape Line8;
    LineShape Line9;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    // Tab 2: the options.
    QGroupBox* Frame4 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLabel* Label27 = nullptr;
    QPushButton* Command4 = nullptr;
    // The custom text, with the line ends it was given.
    qt::MultiLineTextBox* Text3 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Text4 = nullptr;
    QTextEdit* RichTextBox1 = nullptr;
    // Tab 3: the output.
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command3 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check3 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* Label29 = nullptr;
    QLabel* Label9 = nullptr;
    QPushButton* Command14 = nullptr;
    // Status panel and the create button.
    qt::PictureBoxWidget* statusBack = nullptr;
    QLabel* Label3 = nullptr;
    qt::PictureBoxWidget* picStatHandler = nullptr;
    qt::PictureBoxWidget* picStatus = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Command2 = nullptr;
    // The about panel.
    qt::PictureBoxWidget* HIDEABOUT = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblBetaStat = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label17 = nullptr;
    LineShape Line5;
    QLabel* Label20 = nullptr;
    QPushButton* Command13 = nullptr;
    // The options panel.
    qt::PictureBoxWidget* HIDESET = nullptr;
    QGroupBox* Frame1b = nullptr;
    QCheckBox* Check1b = nullptr;
    QGroupBox* Frame3b = nullptr;
    QCheckBox* Check2b = nullptr;
    QCheckBox* Check2 = nullptr;
    QGroupBox* Frame2b = nullptr;
    QLabel* Label1b = nullptr;
    QComboBox* Combo1b = nullptr;
    QLabel* Label3b = nullptr;
    QComboBox* Combo2b = nullptr;
    QLabel* Label2b = nullptr;
    QComboBox* Combo3b = nullptr;
    QLabel* Label4b = nullptr;
    QComboBox* Combo4b = nullptr;
    QLabel* Label6b = nullptr;
    QComboBox* Combo5b = nullptr;
    QLabel* Label7b = nullptr;
    qt::PictureBoxWidget* Picture3b = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label8b = nullptr;
    QPushButton* Command2b = nullptr;
    QPushButton* Command3b = nullptr;
    QPushButton* Command1b = nullptr;

    // ---- Menus ----
    QMenu* mnuFile = nullptr;
    QAction* mnuLoadProj = nullptr;
    QAction* mnuSaveProj = nullptr;
    QAction* mnuLineBr001 = nullptr;
    QAction* mnuLoadText = nullptr;
    QAction* mnuLineBRLF = nullptr;
    std::array<QAction*, 4> mnuPreviousFiles{};
    QAction* mnuLine1 = nullptr;
    QAction* mnuExit = nullptr;

    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuLineBr007 = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;

    QMenu* mnuTools = nullptr;
    QAction* mnuWenderlock = nullptr;
    QAction* mnuMELineBr = nullptr;
    QAction* mnuGFXLib = nullptr;
    QAction* mnuTGLBuilder = nullptr;
    QAction* mnuLineBr002 = nullptr;
    QAction* mnuFlipH = nullptr;
    QAction* mnuFlipV = nullptr;
    QAction* mnuInvert = nullptr;
    QAction* mnuImgEfx = nullptr;
    QAction* mnuLineLFBreak = nullptr;
    QAction* mnuLastFX = nullptr;
    QMenu* mnuEffects = nullptr;
    QAction* mnuLineBr003 = nullptr;
    QAction* mnuHalfSize = nullptr;
    QAction* mnuCutIHR = nullptr;
    QAction* mnuDSize = nullptr;
    QAction* mnuDSizeR = nullptr;
    QAction* mnuCResize = nullptr;
    QAction* mnuLineBr004 = nullptr;
    QAction* mnuBGColor = nullptr;
    QAction* mnuFSP = nullptr;
    QMenu* mnuPriority = nullptr;
    QAction* mnuNormalP = nullptr;
    QAction* mnuHighP = nullptr;
    QAction* mnuLineBr005 = nullptr;
    QAction* mnuSettings = nullptr;

    // The effects, in the order of the effects dialog's list.
    QAction* mnu3DTiles = nullptr;
    QAction* mnuBRTiles = nullptr;
    QAction* mnuBandW = nullptr;
    QAction* mnuBlur = nullptr;
    QAction* mnuBoxes = nullptr;
    QAction* mnuBright = nullptr;
    QAction* mnuCircleWorm = nullptr;
    QAction* mnuCircular = nullptr;
    QAction* mnuCorruption = nullptr;
    QAction* mnuCorruptionB = nullptr;
    QAction* mnuDarken = nullptr;
    QAction* mnuContrastDown = nullptr;
    QAction* mnuEyes = nullptr;
    QAction* mnuGrey = nullptr;
    QAction* mnuContrastUp = nullptr;
    QAction* mnuInfrared = nullptr;
    QAction* mnuIEmboss = nullptr;
    QAction* mnuInterlace = nullptr;
    QAction* mnuIScape = nullptr;
    QAction* mnuMosaic = nullptr;
    QAction* mnuMTiles = nullptr;
    QAction* mnuNeon = nullptr;
    QAction* mnuNightCam = nullptr;
    QAction* mnuOEmboss = nullptr;
    QAction* mnuOutline = nullptr;
    QAction* mnuPixelate = nullptr;
    QAction* mnuPTiles = nullptr;
    QAction* mnuRGBBlue = nullptr;
    QAction* mnuRGBGreen = nullptr;
    QAction* mnuRGBRed = nullptr;
    QAction* mnuSpiral = nullptr;
    QAction* mnuStereoG = nullptr;
    QAction* mnuTargets = nullptr;
    QAction* mnuTV = nullptr;
    QAction* mnuTVSnowBW = nullptr;
    QAction* mnuTVSnow = nullptr;
    QAction* mnuVisor = nullptr;
    QAction* mnuXFiles = nullptr;
    // The same 38 items as one list, and the four column submenus SplitFX arranges them in.
    std::array<QAction*, 38> effectItems() const;
    std::vector<QMenu*> effectColumns;

    QMenu* mnuWindow = nullptr;
    QAction* mnuRWSP = nullptr;
    QAction* mnuCompact = nullptr;
    QAction* mnuWLineBr = nullptr;
    QMenu* mnuTrans = nullptr;
    std::array<QAction*, 10> mnuTransVal{};

    QMenu* mnuHelp = nullptr;
    QAction* mnuOLHelp = nullptr;
    QAction* mnuLine6 = nullptr;
    QAction* mnuContact = nullptr;
    QAction* mnuRBug = nullptr;
    QAction* mnuDonate = nullptr;
    QAction* mnuCUpdate = nullptr;
    QAction* mnuLineBr006 = nullptr;
    QAction* mnuHBDR = nullptr;
    QAction* mnuAboutMe = nullptr;

    QMenu* mnuHidden = nullptr;
    QMenu* mnuHIDImage = nullptr;
    QAction* mnuCopyImage = nullptr;
    QAction* mnuPasteImage = nullptr;
    QMenu* mnuHidSize1 = nullptr;
    QAction* mnuHidResize1 = nullptr;
    QAction* mnuResample1 = nullptr;
    QMenu* mnuHidSize2 = nullptr;
    QAction* mnuResize2 = nullptr;
    QAction* mnuResample2 = nullptr;

    // What ends the program once the window has shut down: the event loop's exit.
    std::function<void()> endProgram;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // ---- Construction and layout (frmMain.cpp) ----
    void buildMenus();
    void buildPictureTab(QWidget* page);
    void buildOptionsTab(QWidget* page);
    void buildOutputTab(QWidget* page);
    void buildStatusPanel(QWidget* client);
    void buildAboutPanel(QWidget* client);
    void buildOptionsPanel(QWidget* client);
    void connectHandlers();
    // Lays a control out by its position within the tab control, as the page it sits on places it.
    void placeOnTab(QWidget* control, int left, int top, int width, int height);
    void paintViewport();
    void paintAboutPanel();

    // ---- The mosaic options (frmMainOptions.cpp) ----
    void connectOptions();

    // ---- The working picture (frmMainWorkspace.cpp) ----
    void connectWorkspace();
    // No mosaic run and no effect is under way: only then may the working picture change.
    bool mosaicIdle() const;
    void fitSrcPic();
    void loadWorkingPicture(const std::string& path);
    void replaceWorkingPicture(PictureReplacement replacement);

    // ---- The mosaic run (frmMainRun.cpp) ----
    void connectMosaicRun();
    void runMosaicFromControls();
    // The options as the controls hold them; the run and the project writer read them here.
    MosaicOptions mosaicOptionsFromControls() const;
    // The run's lock of every input, and its release; `swatch` is Picture3b's colour before it.
    void disableForRun();
    void enableAfterRun(Colour swatch, bool statusHiddenFirst);
    void drawStatusBar();
    // A close during a run waits for the run's end.
    bool closeAfterRun_ = false;

    // ---- Effects ----
    void connectEffects();
    // The frame's pixel work on the working picture's surface, with flipPic as the scratch
    // picture: the scratch picture is readied before anything changes (false, and nothing
    // changed, when it cannot be had), then the effect runs while the undo copy is saved (one
    // that cannot be written leaves nothing to undo).
    bool applyToWorkingPicture(fx::EffectStyle style, fx::EffectFunction effect);
    void runTool(fx::EffectFunction tool);
    void hideLastEffect();
    // An effect, a tool or the repeat's wait is under way: nothing else may change the picture.
    bool effectBusy_ = false;
    friend class EffectScope;

    // ---- Resize ----
    void connectResize();
    // Runs a resize command of this window to `size` (none: the command does nothing).
    void resizeCommand(std::optional<PictureSize> size, ResizeDrawing drawing);
    QPointer<frmCResize> resizeDialog_;

    // ---- Projects ----
    void connectProjects();

    // ---- Libraries ----
    LibraryBrowserLinks libraryBrowserLinks();
    void takeLibraryPicture(const Picture& picture, const std::string& title);

    // ---- Periphery ----
    // Where a hidden panel waits: below the window's inner area.
    static constexpr int kParkedOffset = 100;
    void parkPanel(qt::PictureBoxWidget* panel);
    void showPanelOverTabs(qt::PictureBoxWidget* panel);
    void connectPreferences();
    void markPreferencesChanged();
    void connectRecentFiles();
    void connectWindowMenu();
    void saveSetting(const std::string& key, const std::string& value);
    void connectSiblings();
    void connectWebAndAbout();
    void openWebPage(WebCommand command);

    // ---- Shared by every concern ----
    Services& services_;
    ConverterState& state_;
    std::vector<std::string> arguments_;
    QPoint tabPageOrigin_;
    QPointer<frmCSS> cssDialog_;
    QPointer<frmFX> fxDialog_;
    QPointer<frmGFXLib> libraryBrowser_;
    UndoStore undo_{services_.folders.scratch};
    std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace tess
