#include "shell/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <exception>
#include <initializer_list>
#include <new>
#include <optional>

#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "engine/OutputName.h"
#include "engine/PageFormat.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"
#include "shell/CommandLine.h"
#include "shell/ControlEvents.h"
#include "shell/MosaicRunHooks.h"
#include "shell/MosaicRunTexts.h"
#include "shell/ProgramVersion.h"
#include "shell/SamplePicture.h"
#include "shell/SharedFunctions.h"
#include "shell/StatusPanel.h"
#include "shell/StoredSettings.h"
#include "shell/frmCSS.h"
#include "workspace/EditMenu.h"
#include "workspace/Loading.h"
#include "workspace/PictureChange.h"
#include "workspace/PictureView.h"
#include "workspace/WorkspaceActions.h"

namespace tess {

using qt::fromQ;
using qt::PictureBoxWidget;
using qt::toQ;

namespace {

// The status panel's controls share one tooltip.
constexpr const char* kStatusTip =
    "Mosaic generation status. (Right click to toggle graphical/classic mode)";
constexpr int kSwatchSize = 16;
// Where a hidden panel waits: below the window's inner area.
constexpr int kParkedOffset = 100;

// Runs one step of a sequence whose steps are independent: a step that fails is abandoned and the
// sequence goes on.
template <class Step>
void runStep(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

// Names and places a new control; the makers below add what their kind needs.
template <class W>
W* placed(W* control, const char* name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = placed(new QLabel(text, parent), name, geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                        const QString& tip = {}) {
    auto* button = placed(new QPushButton(text, parent), name, geometry);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, QRect geometry,
                     const QString& tip) {
    auto* check = placed(new QCheckBox(text, parent), name, geometry);
    check->setToolTip(tip);
    return check;
}

QComboBox* makeCombo(QWidget* parent, const char* name, QRect geometry, const QString& tip) {
    auto* combo = placed(new QComboBox(parent), name, geometry);
    combo->setToolTip(tip);
    return combo;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    return placed(new QGroupBox(title, parent), name, geometry);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, QRect geometry, const QString& tip) {
    auto* edit = placed(new QLineEdit(parent), name, geometry);
    edit->setToolTip(tip);
    return edit;
}

PictureBoxWidget* makePicture(QWidget* parent, const char* name, QRect geometry,
                              Colour back = syscolour::ButtonFace) {
    return placed(new PictureBoxWidget(parent, back), name, geometry);
}

QAction* makeItem(QMenu* menu, const char* name, const QString& text,
                  const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    return item;
}

QAction* makeSeparator(QMenu* menu, const char* name) {
    QAction* item = menu->addSeparator();
    item->setObjectName(name);
    return item;
}

QMenu* makeSubmenu(QMenu* parent, const char* name, const QString& text) {
    QMenu* menu = parent->addMenu(text);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

// Toolbar bitmaps of the flips: arrows on magenta, which is drawn transparent.
QIcon flipIcon(bool vertical) {
    const int w = vertical ? 5 : 8;
    const int h = vertical ? 8 : 5;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    const QRgb ink = qRgb(0, 0, 0);
    if (vertical) {
        for (int y = 0; y < h; ++y)
            image.setPixel(2, y, ink);
        for (int d = 1; d <= 2; ++d) {
            image.setPixel(2 - d, d, ink);
            image.setPixel(2 + d, d, ink);
            image.setPixel(2 - d, h - 1 - d, ink);
            image.setPixel(2 + d, h - 1 - d, ink);
        }
    } else {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, 2, ink);
        for (int d = 1; d <= 2; ++d) {
            image.setPixel(d, 2 - d, ink);
            image.setPixel(d, 2 + d, ink);
            image.setPixel(w - 1 - d, 2 - d, ink);
            image.setPixel(w - 1 - d, 2 + d, ink);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(QColor(255, 0, 255)));
    return QIcon(pixmap);
}

// A menu caption as the menu shows it: access-key marks removed, "&&" as one "&".
QString shownCaption(QString caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

void drawLine(Picture& surface, const LineShape& line) {
    if (line.visible)
        surface.line(line.x1, line.y1, line.x2, line.y2, line.borderColor);
}

}  // namespace

frmMain::frmMain(Services& services, ConverterState& state, std::vector<std::string> arguments,
                 QWidget* parent)
    : QMainWindow(parent), services_(services), state_(state), arguments_(std::move(arguments)) {
    endProgram = [] { QCoreApplication::exit(0); };
    setObjectName("frmMain");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The controls are laid out in pixels; a fixed font keeps every caption inside its control.
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    buildMenus();

    SSTab1 = new QTabWidget(client);
    SSTab1->setObjectName("SSTab1");
    auto* page1 = new QWidget;
    auto* page2 = new QWidget;
    auto* page3 = new QWidget;
    page1->setObjectName("SSTab1Page0");
    page2->setObjectName("SSTab1Page1");
    page3->setObjectName("SSTab1Page2");
    SSTab1->addTab(page1, " 1. Select an Image ");
    SSTab1->addTab(page2, " 2. Select Options ");
    SSTab1->addTab(page3, " 3. Create Mosaic ");
    SSTab1->setGeometry(4, 4, 435, 320);
    {
        // Children of the tab control are placed by their position within the whole control, so
        // the page's own offset below the tabs is taken off.
        QStyleOptionTabWidgetFrame option;
        option.initFrom(SSTab1);
        option.rect = QRect(QPoint(0, 0), SSTab1->size());
        option.shape = SSTab1->tabBar()->shape();
        option.lineWidth =
            SSTab1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, SSTab1);
        option.tabBarSize = SSTab1->tabBar()->sizeHint();
        tabPageOrigin_ = SSTab1->style()
                             ->subElementRect(QStyle::SE_TabWidgetTabContents, &option, SSTab1)
                             .topLeft();
    }

    buildPictureTab(page1);
    buildOptionsTab(page2);
    buildOutputTab(page3);
    buildStatusPanel(client);
    buildAboutPanel(client);
    buildOptionsPanel(client);
    connectHandlers();
    connectWorkspace();
    connectMosaicRun();

    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

frmCSS* frmMain::cssDialog() const {
    return cssDialog_.data();
}

void frmMain::placeOnTab(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(left - tabPageOrigin_.x(), top - tabPageOrigin_.y(), width, height);
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menuBar");

    mnuFile = bar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuLoadProj = makeItem(mnuFile, "mnuLoadProj", "&Load Project...");
    mnuSaveProj = makeItem(mnuFile, "mnuSaveProj", "&Save Project...");
    mnuLineBr001 = makeSeparator(mnuFile, "mnuLineBr001");
    mnuLoadText = makeItem(mnuFile, "mnuLoadText", "Load &Text Pattern...", QKeySequence("Ctrl+T"));
    mnuLineBRLF = makeSeparator(mnuFile, "mnuLineBRLF");
    mnuLineBRLF->setVisible(false);
    for (std::size_t k = 0; k < mnuPreviousFiles.size(); ++k) {
        const std::string name = "mnuPreviousFiles" + std::to_string(k);
        mnuPreviousFiles[k] =
            makeItem(mnuFile, name.c_str(), QString::number(static_cast<int>(k) + 1) + ".");
        mnuPreviousFiles[k]->setVisible(false);
    }
    mnuLine1 = makeSeparator(mnuFile, "mnuLine1");
    mnuExit = makeItem(mnuFile, "mnuExit", "E&xit");

    mnuEdit = bar->addMenu("&Edit");
    mnuEdit->setObjectName("mnuEdit");
    mnuUndo = makeItem(mnuEdit, "mnuUndo", "&Undo / Redo", QKeySequence("Ctrl+Z"));
    mnuLineBr007 = makeSeparator(mnuEdit, "mnuLineBr007");
    mnuCopy = makeItem(mnuEdit, "mnuCopy", "&Copy Image", QKeySequence("Ctrl+C"));
    mnuPaste = makeItem(mnuEdit, "mnuPaste", "&Paste Image", QKeySequence("Ctrl+V"));

    mnuTools = bar->addMenu("&Tools");
    mnuTools->setObjectName("mnuTools");
    mnuWenderlock = makeItem(mnuTools, "mnuWenderlock", "Tessaryn &Mosaic Explorer...");
    mnuMELineBr = makeSeparator(mnuTools, "mnuMELineBr");
    mnuGFXLib = makeItem(mnuTools, "mnuGFXLib", "&Graphics Library...");
    mnuTGLBuilder = makeItem(mnuTools, "mnuTGLBuilder", "&TGL File Builder...");
    mnuTGLBuilder->setVisible(false);
    mnuLineBr002 = makeSeparator(mnuTools, "mnuLineBr002");
    mnuFlipH = makeItem(mnuTools, "mnuFlipH", "Flip &Horizontal");
    mnuFlipV = makeItem(mnuTools, "mnuFlipV", "Flip &Vertical");
    mnuInvert = makeItem(mnuTools, "mnuInvert", "&Invert Image");
    mnuImgEfx = makeItem(mnuTools, "mnuImgEfx", "Image Effects...");
    mnuLineLFBreak = makeSeparator(mnuTools, "mnuLineLFBreak");
    mnuLineLFBreak->setVisible(false);
    mnuLastFX = makeItem(mnuTools, "mnuLastFX", kLastFXDesignCaption);
    mnuLastFX->setVisible(false);
    // The effects submenu is the twelfth entry (position 11) of the Tools menu.
    mnuEffects = makeSubmenu(mnuTools, "mnuEffects", "&Effects");
    mnuEffects->menuAction()->setVisible(false);
    struct EffectItem {
        QAction** member;
        const char* name;
        const char* caption;
    };
    const EffectItem effects[] = {
        {&mnu3DTiles, "mnu3DTiles", "3D Tiles"},
        {&mnuBRTiles, "mnuBRTiles", "Bathroom Tiles"},
        {&mnuBandW, "mnuBandW", "&Black && White"},
        {&mnuBlur, "mnuBlur", "Blur"},
        {&mnuBoxes, "mnuBoxes", "Boxes"},
        {&mnuBright, "mnuBright", "&Brighten"},
        {&mnuCircleWorm, "mnuCircleWorm", "CircleWorm"},
        {&mnuCircular, "mnuCircular", "Circular"},
        {&mnuCorruption, "mnuCorruption", "Cor&ruption"},
        {&mnuCorruptionB, "mnuCorruptionB", "Corru&ption Bars"},
        {&mnuDarken, "mnuDarken", "&Darken"},
        {&mnuContrastDown, "mnuContrastDown", "Decrease Contrast"},
        {&mnuEyes, "mnuEyes", "Eyes"},
        {&mnuGrey, "mnuGrey", "&Grayscale"},
        {&mnuContrastUp, "mnuContrastUp", "Increase Contrast"},
        {&mnuInfrared, "mnuInfrared", "Infra&red (Slow)"},
        {&mnuIEmboss, "mnuIEmboss", "&Inner Emboss"},
        {&mnuInterlace, "mnuInterlace", "Inter&lace"},
        {&mnuIScape, "mnuIScape", "InversionScape"},
        {&mnuMosaic, "mnuMosaic", "Mosaic"},
        {&mnuMTiles, "mnuMTiles", "Mosaic Tiles"},
        {&mnuNeon, "mnuNeon", "Neo&n"},
        {&mnuNightCam, "mnuNightCam", "Night Cam"},
        {&mnuOEmboss, "mnuOEmboss", "&Outer Emboss"},
        {&mnuOutline, "mnuOutline", "&Outline"},
        {&mnuPixelate, "mnuPixelate", "Pi&xelate"},
        {&mnuPTiles, "mnuPTiles", "Pool Tiles"},
        {&mnuRGBBlue, "mnuRGBBlue", "RGB Blue"},
        {&mnuRGBGreen, "mnuRGBGreen", "RGB Green"},
        {&mnuRGBRed, "mnuRGBRed", "RGB Red"},
        {&mnuSpiral, "mnuSpiral", "Spiral"},
        {&mnuStereoG, "mnuStereoG", "StereoGraph"},
        {&mnuTargets, "mnuTargets", "Targets"},
        {&mnuTV, "mnuTV", "&TV"},
        {&mnuTVSnowBW, "mnuTVSnowBW", "TV &Snow"},
        {&mnuTVSnow, "mnuTVSnow", "TV Sno&w (Color)"},
        {&mnuVisor, "mnuVisor", "&Visor"},
        {&mnuXFiles, "mnuXFiles", "X-Files"},
    };
    for (const EffectItem& effect : effects) {
        *effect.member = makeItem(mnuEffects, effect.name, effect.caption);
    }
    mnuLineBr003 = makeSeparator(mnuTools, "mnuLineBr003");
    mnuHalfSize = makeItem(mnuTools, "mnuHalfSize", "Cut in Ha&lf");
    mnuCutIHR = makeItem(mnuTools, "mnuCutIHR", "Cut in &Half (Resample)");
    mnuDSize = makeItem(mnuTools, "mnuDSize", "&Double Size");
    mnuDSizeR = makeItem(mnuTools, "mnuDSizeR", "&Double Size (Resample)");
    mnuCResize = makeItem(mnuTools, "mnuCResize", "&Custom Resize...");
    mnuLineBr004 = makeSeparator(mnuTools, "mnuLineBr004");
    mnuBGColor = makeItem(mnuTools, "mnuBGColor", "&Background Color...", QKeySequence("Ctrl+E"));
    mnuFSP = makeItem(mnuTools, "mnuFSP", "File Size &Preview...", QKeySequence("Ctrl+P"));
    mnuPriority = makeSubmenu(mnuTools, "mnuPriority", "P&riority");
    mnuNormalP = makeItem(mnuPriority, "mnuNormalP", "&Normal");
    mnuNormalP->setCheckable(true);
    mnuNormalP->setChecked(true);
    mnuHighP = makeItem(mnuPriority, "mnuHighP", "&High");
    mnuHighP->setCheckable(true);
    mnuLineBr005 = makeSeparator(mnuTools, "mnuLineBr005");
    mnuSettings = makeItem(mnuTools, "mnuSettings", "Pre&ferences");

    mnuWindow = bar->addMenu("&Window");
    mnuWindow->setObjectName("mnuWindow");
    mnuRWSP = makeItem(mnuWindow, "mnuRWSP", "R&emember Window Position");
    mnuRWSP->setCheckable(true);
    mnuCompact = makeItem(mnuWindow, "mnuCompact", "&Compact Mode");
    mnuCompact->setVisible(false);
    mnuWLineBr = makeSeparator(mnuWindow, "mnuWLineBr");
    mnuTrans = makeSubmenu(mnuWindow, "mnuTrans", "Transparency");
    for (std::size_t k = 0; k < mnuTransVal.size(); ++k) {
        const std::string name = "mnuTransVal" + std::to_string(k);
        mnuTransVal[k] =
            makeItem(mnuTrans, name.c_str(), QString::number(100 - 10 * static_cast<int>(k)) + "%");
        mnuTransVal[k]->setCheckable(true);
    }
    mnuTransVal[0]->setChecked(true);

    mnuHelp = bar->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuOLHelp = makeItem(mnuHelp, "mnuOLHelp", "On-Line &Help via the Web...", QKeySequence("F1"));
    mnuLine6 = makeSeparator(mnuHelp, "mnuLine6");
    mnuContact = makeItem(mnuHelp, "mnuContact", "&Contact The Author via the Web...");
    mnuRBug = makeItem(mnuHelp, "mnuRBug", "Report a Bug via the Web...");
    mnuDonate = makeItem(mnuHelp, "mnuDonate", "Make a &Donation via the Web...");
    mnuCUpdate = makeItem(mnuHelp, "mnuCUpdate", "Check for &Update via the Web...");
    mnuLineBr006 = makeSeparator(mnuHelp, "mnuLineBr006");
    mnuHBDR = makeItem(mnuHelp, "mnuHBDR", "hbdr");
    mnuHBDR->setVisible(false);
    mnuAboutMe = makeItem(mnuHelp, "mnuAboutMe", "A&bout tessaryn q4");

    mnuHidden = bar->addMenu("Hidden");
    mnuHidden->setObjectName("mnuHidden");
    mnuHIDImage = makeSubmenu(mnuHidden, "mnuHIDImage", "hidImage");
    mnuCopyImage = makeItem(mnuHIDImage, "mnuCopyImage", "Copy Image");
    mnuPasteImage = makeItem(mnuHIDImage, "mnuPasteImage", "Paste Image");
    mnuHidSize1 = makeSubmenu(mnuHidden, "mnuHidSize1", "hidResize1");
    mnuHidResize1 = makeItem(mnuHidSize1, "mnuHidResize1", "Resize");
    mnuHidResize1->setCheckable(true);
    mnuHidResize1->setChecked(true);
    mnuResample1 = makeItem(mnuHidSize1, "mnuResample1", "Resample");
    mnuResample1->setCheckable(true);
    mnuHidSize2 = makeSubmenu(mnuHidden, "mnuHidSize2", "hidResize2");
    mnuResize2 = makeItem(mnuHidSize2, "mnuResize2", "Resize");
    mnuResize2->setCheckable(true);
    mnuResize2->setChecked(true);
    mnuResample2 = makeItem(mnuHidSize2, "mnuResample2", "Resample");
    mnuResample2->setCheckable(true);
}

std::array<QAction*, 38> frmMain::effectItems() const {
    return {mnu3DTiles,    mnuBRTiles,  mnuBandW,      mnuBlur,        mnuBoxes,    mnuBright,
            mnuCircleWorm, mnuCircular, mnuCorruption, mnuCorruptionB, mnuDarken,   mnuContrastDown,
            mnuEyes,       mnuGrey,     mnuContrastUp, mnuInfrared,    mnuIEmboss,  mnuInterlace,
            mnuIScape,     mnuMosaic,   mnuMTiles,     mnuNeon,        mnuNightCam, mnuOEmboss,
            mnuOutline,    mnuPixelate, mnuPTiles,     mnuRGBBlue,     mnuRGBGreen, mnuRGBRed,
            mnuSpiral,     mnuStereoG,  mnuTargets,    mnuTV,          mnuTVSnowBW, mnuTVSnow,
            mnuVisor,      mnuXFiles};
}

void frmMain::buildPictureTab(QWidget* page) {
    Label10 = makeLabel(page, "Label10", "Image File:", {});
    placeOnTab(Label10, 8, 35, 64, 15);
    Text1 = makeEdit(page, "Text1", {}, "Path to the source image.");
    placeOnTab(Text1, 74, 31, 277, 22);
    Command1 = makeButton(page, "Command1", "Browse...", {}, "Browse to select a source image.");
    placeOnTab(Command1, 357, 30, 72, 24);

    // The viewport: a single sunken border around an inner area of 419 x 201 pixels.
    Picture1Border = new QFrame(page);
    Picture1Border->setObjectName("Picture1Border");
    Picture1Border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1Border->setLineWidth(2);
    placeOnTab(Picture1Border, 6, 62, 423, 205);
    Picture1 = makePicture(Picture1Border, "Picture1", QRect(2, 2, 419, 201), kViewportBackColour);
    srcPic = makePicture(Picture1, "srcPic", {}, 0x00FFFFFF);
    srcPic->box().setPicture(SamplePicture());
    srcPic->setGeometry(0, 0, srcPic->box().width(), srcPic->box().height());
    flipPic = makePicture(page, "flipPic", QRect(0, 0, 1, 1), syscolour::Window);
    flipPic->box().setForeColor(syscolour::WindowText);
    flipPic->hide();
    VScroll1 = new QScrollBar(Qt::Vertical, Picture1);
    VScroll1->setObjectName("VScroll1");
    VScroll1->setGeometry(404, 0, kDesignBarExtent, 186);
    VScroll1->setRange(0, 32767);
    HScroll1 = new QScrollBar(Qt::Horizontal, Picture1);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setGeometry(0, 186, 404, kDesignBarExtent);
    HScroll1->setRange(0, 32767);
    Picture2 =
        makePicture(Picture1, "Picture2", QRect(404, 186, kDesignBarExtent, kDesignBarExtent));
    Picture5 =
        makePicture(Picture1, "Picture5", QRect(404 - kSwatchSize, 0, kSwatchSize, kSwatchSize), 0);
    Picture5->setToolTip("Click here to select the background color of the HTML mosaic.");
    Picture5->setCursor(Qt::PointingHandCursor);
    Line3 = {0, 92, 141, 92, kEdgeLineDesignColour, true};
    Line4 = {140, 0, 140, 93, kEdgeLineDesignColour, true};
    for (LineShape* line : {&Line6, &Line7, &Line8, &Line9})
        line->borderColor = 0x00FFFFFF;

    struct Tool {
        QPushButton** member;
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Tool tools[] = {
        {&Command5, "Command5", "Flip V", "Flip image vertically."},
        {&Command6, "Command6", "Flip H", "Flip image horizontally"},
        {&Command7, "Command7", "Invert", "Invert image colors."},
        {&Command8, "Command8", "Shrink", "Cut the image size in half."},
        {&Command9, "Command9", "Grow", "Double image size."},
        {&Command10, "Command10", "Resize", "Resize image with custom settings."},
    };
    int left = 6;
    for (const Tool& tool : tools) {
        *tool.member = makeButton(page, tool.name, tool.caption, {}, tool.tip);
        placeOnTab(*tool.member, left, 274, 50, 25);
        left += 53;
    }
    Command5->setIcon(flipIcon(true));
    Command5->setIconSize(QSize(5, 8));
    Command6->setIcon(flipIcon(false));
    Command6->setIconSize(QSize(8, 5));
    Command11 = makeButton(page, "Command11", "Graphics Library", {}, "Load the Graphics Library.");
    placeOnTab(Command11, left, 274, 429 - left, 25);
}

void frmMain::buildOptionsTab(QWidget* page) {
    Frame4 = makeFrame(page, "Frame4", " Character Options ", {});
    placeOnTab(Frame4, 6, 32, 423, 180);
    Label4 = makeLabel(Frame4, "Label4", "Mode:", QRect(10, 26, 80, 15));
    Combo2 = makeCombo(Frame4, "Combo2", QRect(94, 22, 150, 22),
                       "Select the HTML Mosaic output style mode.");
    Label7 = makeLabel(Frame4, "Label7", "Spacer:", QRect(10, 54, 80, 15));
    Combo3 = makeCombo(Frame4, "Combo3", QRect(94, 50, 70, 22),
                       "Select the spacer character used to replace space characters in the "
                       "custom text pattern.");
    Label27 = makeLabel(Frame4, "Label27", "Custom Text:", QRect(10, 84, 80, 15));
    Command4 = makeButton(Frame4, "Command4", "Browse...", QRect(339, 78, 74, 24),
                          "Browse to select a text/rtf file to load as a text pattern.");
    Text3 = new QPlainTextEdit(Frame4);
    Text3->setObjectName("Text3");
    Text3->setGeometry(10, 106, 403, 64);
    Text3->setToolTip("Space to enter custom text to use in the HTML Mosaic.");
    RichTextBox1 = new QTextEdit(page);
    RichTextBox1->setObjectName("RichTextBox1");
    RichTextBox1->hide();

    Frame5 = makeFrame(page, "Frame5", " Page Options ", {});
    placeOnTab(Frame5, 6, 218, 423, 88);
    Label1 = makeLabel(Frame5, "Label1", "Font Size:", QRect(10, 28, 80, 15));
    Combo1 = makeCombo(Frame5, "Combo1", QRect(94, 24, 170, 22),
                       "Select the font size for the HTML Mosaic.");
    Label8 = makeLabel(Frame5, "Label8", "Page Title:", QRect(10, 58, 80, 15));
    Text4 = makeEdit(Frame5, "Text4", QRect(94, 54, 319, 22), "The title of the HTML Mosaic page.");
}

void frmMain::buildOutputTab(QWidget* page) {
    Frame1 = makeFrame(page, "Frame1", " Save Mosaic As ", {});
    placeOnTab(Frame1, 6, 32, 423, 62);
    Label2 = makeLabel(Frame1, "Label2", "Filename:", QRect(10, 30, 60, 15));
    Text2 = makeEdit(Frame1, "Text2", QRect(72, 26, 261, 22), "Path to the HTML output file.");
    Command3 = makeButton(Frame1, "Command3", "Browse...", QRect(339, 25, 74, 24),
                          "Browse to select the HTML output file.");

    Frame2 = makeFrame(page, "Frame2", " Options ", {});
    placeOnTab(Frame2, 6, 100, 423, 54);
    Check1 =
        makeCheck(Frame2, "Check1", "Open in Browser", QRect(10, 24, 180, 20),
                  "When selected, Tessaryn will launch your default browser to the HTML Mosaic "
                  "after it has been written.");
    Check3 =
        makeCheck(Frame2, "Check3", "Write to Clipboard", QRect(210, 24, 200, 20),
                  "When selected, Tessaryn will copy the HTML mosaic to your clipboard, rather "
                  "than writing it to a file.");

    Frame3 = makeFrame(page, "Frame3", " Options Review", {});
    placeOnTab(Frame3, 6, 160, 423, 110);
    Label29 =
        makeLabel(Frame3, "Label29", "Font Size: SIZE, Spacer: X, Mode: X", QRect(10, 26, 403, 15));
    Label9 = makeLabel(Frame3, "Label9", "Page Caption: ", QRect(10, 48, 403, 15));
    Command14 = makeButton(Frame3, "Command14", "Change", QRect(339, 76, 74, 24));
}

void frmMain::buildStatusPanel(QWidget* client) {
    statusBack = makePicture(client, "statusBack", QRect(4, 332, 311, 28));
    statusBack->setToolTip(kStatusTip);
    // The panel is the run's progress display: a run shows it and hides it again at its end, so
    // it starts hidden and the idle window looks the same before and after a run.
    statusBack->hide();
    Label3 = makeLabel(statusBack, "Label3", "Status: ", QRect(6, 7, 44, 15));
    Label3->setToolTip(kStatusTip);
    picStatHandler = makePicture(statusBack, "picStatHandler", QRect(54, 6, 251, 16));
    picStatHandler->setToolTip(kStatusTip);
    picStatus = makePicture(picStatHandler, "picStatus", QRect(0, 0, 251, 16), syscolour::Window);
    picStatus->setToolTip(kStatusTip);
    Label6 = makeLabel(statusBack, "Label6", "0x0 of 32x32 (Idle)", QRect(54, 7, 251, 15));
    Label6->setToolTip(kStatusTip);
    Command2 = makeButton(client, "Command2", "Create Mosaic!", QRect(321, 331, 118, 30),
                          "Click here to create the HTML Mosaic.");
}

void frmMain::buildAboutPanel(QWidget* client) {
    HIDEABOUT = makePicture(client, "HIDEABOUT", QRect(4, 4, 435, 320));
    Label26 = makeLabel(HIDEABOUT, "Label26", "q4", QRect(24, 16, 120, 64));
    QFont mark = Label26->font();
    mark.setPixelSize(52);
    mark.setBold(true);
    Label26->setFont(mark);
    Label19 = makeLabel(HIDEABOUT, "Label19", "Version: ", QRect(28, 96, 52, 15));
    Label5 = makeLabel(HIDEABOUT, "Label5", "(#.#.###)", QRect(82, 96, 70, 15));
    lblBetaStat = makeLabel(HIDEABOUT, "lblBetaStat", "Beta #", QRect(156, 96, 60, 15));
    Label12 = makeLabel(HIDEABOUT, "Label12", "UI Direction/Design:", QRect(28, 132, 130, 15));
    Label13 = makeLabel(HIDEABOUT, "Label13", "Ilse Varga", QRect(164, 132, 200, 15));
    Label18 = makeLabel(HIDEABOUT, "Label18", "Developed by:", QRect(28, 154, 130, 15));
    Label17 = makeLabel(HIDEABOUT, "Label17", "Orvalt Brenner", QRect(164, 154, 200, 15));
    for (QLabel* link : {Label13, Label17}) {
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        link->setCursor(Qt::PointingHandCursor);
    }
    Line5 = {28, 200, 407, 200, syscolour::ButtonShadow, true};
    Label20 = makeLabel(HIDEABOUT, "Label20",
                        "Made by hand, for pictures that want to be read from a distance.",
                        QRect(28, 208, 379, 30));
    Label20->setWordWrap(true);
    Command13 = makeButton(HIDEABOUT, "Command13", "OK", QRect(177, 282, 80, 25));
    HIDEABOUT->hide();
}

void frmMain::buildOptionsPanel(QWidget* client) {
    HIDESET = makePicture(client, "HIDESET", QRect(4, 4, 435, 320));
    Frame1b = makeFrame(HIDESET, "Frame1b", " Start Up ", QRect(8, 8, 150, 54));
    Check1b = makeCheck(Frame1b, "Check1b", "Splash Screen", QRect(10, 24, 130, 20),
                        "Toggle show/hide splash screen.");
    Frame3b = makeFrame(HIDESET, "Frame3b", " Other ", QRect(8, 68, 150, 78));
    Check2b = makeCheck(Frame3b, "Check2b", "Show Tooltips", QRect(10, 24, 130, 20),
                        "Toggle show/hide tooltips. (The popup help boxes)");
    Check2 = makeCheck(Frame3b, "Check2", "XP Buttons", QRect(10, 48, 130, 20),
                       "Toggle Windows XP/Classic style buttons.");
    Frame2b = makeFrame(HIDESET, "Frame2b", " Defaults ", QRect(166, 8, 261, 222));
    struct Row {
        QLabel** label;
        const char* labelName;
        const char* caption;
        QComboBox** combo;
        const char* comboName;
        const char* tip;
    };
    const Row rows[] = {
        {&Label1b, "Label1b", "Font Size:", &Combo1b, "Combo1b", "Toggle default Font Size."},
        {&Label3b, "Label3b", "Mode:", &Combo2b, "Combo2b", "Toggle default ASCII Mode."},
        {&Label2b, "Label2b", "Spacer:", &Combo3b, "Combo3b", "Toggle default Spacer character."},
        {&Label4b, "Label4b", "Open in Browser:", &Combo4b, "Combo4b", "Toggle Open in Browser."},
        {&Label6b, "Label6b", "Priority:", &Combo5b, "Combo5b", "Toggle default priority mode."},
    };
    int top = 24;
    for (const Row& row : rows) {
        *row.label = makeLabel(Frame2b, row.labelName, row.caption, QRect(10, top + 4, 106, 15));
        *row.combo = makeCombo(Frame2b, row.comboName, QRect(120, top, 131, 22), row.tip);
        top += 30;
    }
    Label7b = makeLabel(Frame2b, "Label7b", "Background Color:", QRect(10, top + 5, 106, 15));
    Picture3b = makePicture(Frame2b, "Picture3b", QRect(120, top + 2, 40, 20), 0);
    Picture3b->setToolTip("Select default background color.");
    Picture3b->setFocusPolicy(Qt::StrongFocus);
    Shape1 = new QFrame(Frame2b);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setGeometry(118, top, 43, 23);
    Shape1->hide();
    Picture3b->raise();
    Label8b =
        makeLabel(HIDESET, "Label8b", "Note: You must restart Tessaryn for changes to take affect.",
                  QRect(8, 240, 419, 30));
    Label8b->setWordWrap(true);
    Command2b = makeButton(HIDESET, "Command2b", "Defaults", QRect(8, 284, 80, 26),
                           "Reset all settings options to their default values.");
    Command3b = makeButton(HIDESET, "Command3b", "Cancel", QRect(261, 284, 80, 26),
                           "Click here to load previously saved settings, you will loose any "
                           "modifications you have made.");
    Command1b = makeButton(HIDESET, "Command1b", "Apply", QRect(347, 284, 80, 26),
                           "Click here to save settings.");
    HIDESET->hide();
}

void frmMain::connectHandlers() {
    connect(Picture1, &PictureBoxWidget::paintRequested, this, [this] { paintViewport(); });
    connect(HIDEABOUT, &PictureBoxWidget::paintRequested, this, [this] { paintAboutPanel(); });
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    connect(Combo2, &QComboBox::activated, this, [this](int) { Combo2_Click(); });
    connect(mnuBGColor, &QAction::triggered, this, [this] { mnuBGColor_Click(); });
    connect(Picture5, &PictureBoxWidget::clicked, this, [this] { Picture5_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    connect(mnuGFXLib, &QAction::triggered, this, [this] { mnuGFXLib_Click(); });
}

void frmMain::paintViewport() {
    PictureBox& box = Picture1->box();
    if (box.width() != Picture1->width() || box.height() != Picture1->height()) {
        (void)box.setSize(Picture1->width(), Picture1->height());
    }
    box.surface().fill(box.backColor());
    for (const LineShape* line : {&Line3, &Line4, &Line6, &Line7, &Line8, &Line9}) {
        drawLine(box.surface(), *line);
    }
}

void frmMain::paintAboutPanel() {
    PictureBox& box = HIDEABOUT->box();
    if (box.width() != HIDEABOUT->width() || box.height() != HIDEABOUT->height()) {
        (void)box.setSize(HIDEABOUT->width(), HIDEABOUT->height());
    }
    box.surface().fill(box.backColor());
    drawLine(box.surface(), Line5);
}

std::string frmMain::settingOf(const char* key, const char* fallback) const {
    return services_.settings.get(std::string(settings::kApp), std::string(settings::kSection), key,
                                  fallback);
}

void frmMain::selectComboIndex(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    if (combo == Combo1) {
        Combo1_Click();
    } else if (combo == Combo2) {
        Combo2_Click();
    }
}

void frmMain::Form_Load() {
    runStep([&] { SplitFX(); });
    runStep([&] {
        for (PictureBoxWidget* panel : {HIDEABOUT, HIDESET}) {
            panel->move(panel->x(), kClientHeight + kParkedOffset);
            panel->hide();
        }
    });
    runStep([&] {
        if (!IsWin2000OrLater()) {
            mnuTrans->menuAction()->setVisible(false);
            mnuWLineBr->setVisible(false);
        }
    });
    runStep([&] {
        Label6->hide();
        picStatus->box().cls();
        picStatus->update();
        picStatHandler->show();
    });
    runStep([&] {
        CopyIsImage = true;
        mnuCopy->setEnabled(true);
    });
    runStep([&] {
        mnuCopyImage->setText(mnuCopyImage->text() + "\tCtrl+C");
        mnuPasteImage->setText(mnuPasteImage->text() + "\tCtrl+V");
    });
    runStep([&] {
        // The viewport's back colour is a system colour, which has no inverse: the frame lines keep
        // their white.
        if (const std::optional<Colour> inverse = invertColor(Picture1->box().backColor())) {
            for (LineShape* line : {&Line6, &Line7, &Line8, &Line9})
                line->borderColor = *inverse;
        }
    });
    runStep([&] { mnuHidden->menuAction()->setVisible(false); });
    runStep([&] {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, VScroll1);
        const ViewportLayout layout = viewportLayout(Picture1->width(), Picture1->height(), bar);
        auto place = [](QWidget* w, const ViewRect& r) {
            w->setGeometry(r.left, r.top, r.width, r.height);
        };
        place(VScroll1, layout.vScroll);
        place(HScroll1, layout.hScroll);
        place(Picture2, layout.corner);
        Picture5->move(layout.vScroll.left - Picture5->width(), 0);
        // The white frame follows the swatch: left, bottom, top and right edge.
        const int l = Picture5->x() - 1;
        const int r = Picture5->x() + Picture5->width();
        const int b = Picture5->height();
        Line6 = {l, 0, l, b + 1, Line6.borderColor, true};
        Line7 = {l, b, r, b, Line7.borderColor, true};
        Line8 = {l, 0, r, 0, Line8.borderColor, true};
        Line9 = {r - 1, 0, r - 1, b + 1, Line9.borderColor, true};
    });
    runStep([&] {
        state_.CSSSize = 60;
        state_.CSSUnit = "%";
        state_.ProgressLock = false;
    });
    runStep([&] { srcPic->box().setPicture(srcPic->box().image()); });
    runStep([&] { ApplyTooltipSetting(*this, services_.settings); });
    runStep([&] { setWindowTitle(toQ(" " + page::generatorBanner())); });
    runStep([&] {
        const std::string& folder = services_.programFolder;
        const Status listed = File1.setPath(joinPath(folder, "Mosaics"));
        if (!listed && listed.error().code == errc::PathNotFound) {
            (void)File1.setPath(folder);
            File1.setPattern("*.htm");
            Text2->setText(toQ(joinPath(folder, "Image" + GetNumber(File1.names()) + ".html")));
        } else {
            File1.setPattern("*.htm");
            Text2->setText(
                toQ(joinPath(folder, "Mosaics/Image" + GetNumber(File1.names()) + ".html")));
        }
    });
    runStep([&] { Text3->setPlainText("tessaryn q4"); });
    runStep([&] {
        for (std::string_view text : MosaicOptions::kFontSizeTexts)
            Combo1->addItem(toQ(text));
        selectComboIndex(Combo1, 0);
        for (std::string_view text : MosaicOptions::kModeTexts)
            Combo2->addItem(toQ(text));
        selectComboIndex(Combo2, 2);
        for (std::string_view text : MosaicOptions::kSpacerTexts)
            Combo3->addItem(toQ(text));
        Combo3->setCurrentIndex(0);
    });
    runStep([&] {
        CommonDialog1.Color = 0;
        Picture5->box().setBackColor(CommonDialog1.Color);
        Picture5->update();
    });
    runStep([&] {
        Label5->setText(toQ(versionLabel()));
        Label5->adjustSize();
        lblBetaStat->move(Label5->x() + Label5->width() + 4, lblBetaStat->y());
        lblBetaStat->setText(toQ(betaText()));
        lblBetaStat->adjustSize();
    });
    runStep([&] { LoadOptions(); });
    runStep([&] {
        CheckGFXLib();
        CheckHelp();
        CheckExplorer();
    });
    runStep([&] {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + area.width() / 2 - width() / 2,
                 area.y() + area.height() / 2 - height() / 2);
        }
    });
    runStep([&] {
        Label6->setText(toQ(idleStatusText(srcPic->box().width(), srcPic->box().height())));
    });
    runStep([&] {
        DrawImageEdges();
        UpdateScrollBars();
    });
    runStep([&] {
        const DateTime today = services_.clock.now();
        if (today.month == 12 && today.day == 24) {
            mnuHBDR->setText("Happy &Birthday Orvalt!");
            mnuHBDR->setVisible(true);
        }
    });
    runStep([&] {
        const std::string last = settingOf("LastFX", "");
        if (!last.empty() && last != kLastFXDesignCaption) {
            mnuLastFX->setText(toQ(last));
            mnuLastFX->setVisible(true);
            mnuLineLFBreak->setVisible(true);
        }
    });
    runStep([&] { LoadSizePos(); });
    runStep([&] {
        CommandLine command = parseCommandLine(arguments_);
        SpeedLog = command.speedLog;
        PreviousFiles("load");
        if (!command.projectPath.empty() && FileExists(command.projectPath)) {
            LoadTProject(command.projectPath);
        }
    });
    runStep([&] { UpdateScrollBars(); });
}

void frmMain::SplitFX() {
    // Qt menus cannot break into columns, so the items go into four column submenus of twelve,
    // each named after its first and last effect; the items themselves stay the same actions.
    if (!effectColumns.empty())
        return;
    const std::array<QAction*, 38> items = effectItems();
    constexpr std::size_t kPerColumn = 12;
    for (std::size_t first = 0; first < items.size(); first += kPerColumn) {
        const std::size_t last = std::min(first + kPerColumn, items.size()) - 1;
        const QString caption =
            shownCaption(items[first]->text()) + " - " + shownCaption(items[last]->text());
        auto* column = new QMenu(caption, mnuEffects);
        column->setObjectName(QString("mnuEffectsColumn%1").arg(first / kPerColumn + 1));
        for (std::size_t k = first; k <= last; ++k) {
            mnuEffects->removeAction(items[k]);
            column->addAction(items[k]);
        }
        mnuEffects->addMenu(column);
        effectColumns.push_back(column);
    }
}

void frmMain::LoadOptions() {
    runStep([&] {
        const bool resample = settingOf("SizeMode1", "1") == "2";
        mnuResample1->setChecked(resample);
        mnuHidResize1->setChecked(!resample);
    });
    runStep([&] {
        const bool resample = settingOf("SizeMode2", "1") == "2";
        mnuResample2->setChecked(resample);
        mnuResize2->setChecked(!resample);
    });
    runStep(
        [&] { selectComboIndex(Combo1, settings::listIndex(settingOf("FontSize", "0"), 8, 0)); });
    runStep([&] {
        selectComboIndex(Combo2, settings::listIndex(settingOf("Mode", "3"), 7, 3));
        if (Combo2->currentIndex() == 0) {
            Text3->setEnabled(true);
            Command4->setEnabled(true);
            Combo3->setEnabled(true);
        }
    });
    runStep([&] { Combo3->setCurrentIndex(settings::listIndex(settingOf("Spacer", "0"), 5, 0)); });
    runStep([&] { Check1->setChecked(settingOf("Browser", "1") == "0"); });
    runStep([&] {
        const bool high = settingOf("Priority", "0") == "1";
        mnuHighP->setChecked(high);
        mnuNormalP->setChecked(!high);
    });
    runStep([&] {
        CommonDialog1.Color = settings::backgroundColour(settingOf("BGColor", "0"));
        Picture5->box().setBackColor(CommonDialog1.Color);
        Picture5->update();
    });
    runStep([&] {
        const std::string appPath =
            services_.settings.get(std::string(settings::kBuilderApp),
                                   std::string(settings::kBuilderSection), "AppPath", "");
        // The folder is stored with its trailing separator; the program name follows directly.
        const std::string builder = appPath + "TGLBuilder";
        if (appPath.empty() || !FileExists(builder))
            return;
        mnuTGLBuilder->setVisible(true);
        BuilderPath = builder;
        std::string folder = services_.programFolder;
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        services_.settings.save(std::string(settings::kBuilderApp),
                                std::string(settings::kBuilderSection), "TesAppPath", folder);
    });
    runStep([&] {
        const std::optional<int> index = settings::transparencyIndex(
            settingOf("TransMode", "0"), static_cast<int>(mnuTransVal.size()));
        if (index)
            mnuTransVal_Click(*index);
    });
}

void frmMain::Combo1_Click() {
    if (Combo1->currentIndex() != 8)
        return;
    if (cssDialog_ && cssDialog_->isVisible())
        return;
    if (state_.NoCSSDialog)
        return;
    QPointer<frmCSS> dialog = new frmCSS(*this, state_, services_.settings);
    cssDialog_ = dialog;
    dialog->exec();
    delete dialog.data();
}

void frmMain::Combo2_Click() {
    const int index = Combo2->currentIndex();
    if (index < 0)
        return;
    if (index == 0) {
        Text3->setReadOnly(false);
        Text3->setEnabled(true);
        Command4->setEnabled(true);
        Combo3->setEnabled(true);
        Label27->setEnabled(true);
        Text3->setFocus();
        Text3->selectAll();
        return;
    }
    if (Text3->isEnabled()) {
        Text3->setEnabled(false);
        Label27->setEnabled(false);
        Command4->setEnabled(false);
        Combo3->setEnabled(false);
    }
    Text3->setReadOnly(false);
}

void frmMain::mnuBGColor_Click() {
    // Its shortcut still reaches it while a run has the Tools menu locked.
    if (!mosaicIdle())
        return;
    if (!CommonDialog1.CancelError)
        CommonDialog1.CancelError = true;
    CommonDialog1.Flags = 1;
    CommonDialog1.ShowColor(services_.dialogs);
    Picture5->box().setBackColor(CommonDialog1.Color);
    Picture5->update();
}

void frmMain::Picture5_Click() {
    mnuBGColor_Click();
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::LoadTProject(std::string& path) {
    services_.dialogs.msgBox("Opening projects is not available in this version yet:\r\n" + path,
                             mb::OKOnly | mb::Information, "tessaryn q4");
}

void frmMain::mnuGFXLib_Click() {
    mnuGFXLib->setEnabled(false);
    Command11->setEnabled(false);
    services_.dialogs.msgBox("The graphics library is not available in this version yet.",
                             mb::OKOnly | mb::Information, "tessaryn q4");
    mnuGFXLib->setEnabled(true);
    Command11->setEnabled(true);
}

void frmMain::CheckGFXLib() {}
void frmMain::CheckHelp() {}
void frmMain::CheckExplorer() {}
void frmMain::LoadSizePos() {}
void frmMain::PreviousFiles(const std::string&) {}
void frmMain::mnuTransVal_Click(int) {}

// ---- The working picture: view, loading, undo and the picture clipboard ----

namespace {

// The main window's hourglass while a handler changes the working picture.
class Hourglass {
  public:
    explicit Hourglass(QWidget& window) : window_(window) { window_.setCursor(Qt::WaitCursor); }
    ~Hourglass() { restore(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    void restore() { window_.unsetCursor(); }

  private:
    QWidget& window_;
};

EdgeLine edgeLineOf(const LineShape& line) {
    return {line.x1, line.y1, line.x2, line.y2, line.borderColor};
}

void setEdgeLine(LineShape& line, const EdgeLine& edge) {
    line.x1 = edge.x1;
    line.y1 = edge.y1;
    line.x2 = edge.x2;
    line.y2 = edge.y2;
    line.borderColor = edge.borderColor;
}

// The bar's own enabled flag: a disabled window (the progress window disables it) must not read as
// a disabled bar.
bool ownEnabled(const QScrollBar& bar) {
    return !bar.testAttribute(Qt::WA_ForceDisabled);
}

ScrollBarState barStateOf(const QScrollBar& bar) {
    return {ownEnabled(bar), bar.maximum(), bar.pageStep(), bar.singleStep(), bar.value()};
}

// Writes only what differs, so the bar reports a change of its value only when there is one. A
// maximum below the value brings the value down, and the bar reports that change itself.
void applyBarState(QScrollBar& bar, const ScrollBarState& state) {
    if (ownEnabled(bar) != state.enabled)
        bar.setEnabled(state.enabled);
    if (bar.maximum() != state.max)
        bar.setMaximum(state.max);
    if (bar.pageStep() != state.largeChange)
        bar.setPageStep(state.largeChange);
    if (bar.singleStep() != state.smallChange)
        bar.setSingleStep(state.smallChange);
    if (bar.value() != state.value)
        bar.setValue(state.value);
}

}  // namespace

void frmMain::connectWorkspace() {
    // The picture moves when a thumb is released, not while it is dragged.
    for (QScrollBar* bar : {HScroll1, VScroll1})
        bar->setTracking(false);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int) { HScroll1_Change(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int) { VScroll1_Change(); });

    // A drop is handled once the drag has ended, so its question box does not open while the
    // desktop still waits for the drop to finish.
    using DropHandler = void (frmMain::*)(const std::vector<std::string>&);
    auto afterDrop = [this](DropHandler handler) {
        return [this, handler](const std::vector<std::string>& files) {
            QTimer::singleShot(0, this, [this, handler, files] { (this->*handler)(files); });
        };
    };
    Picture1->setAcceptsFileDrops(true);
    srcPic->setAcceptsFileDrops(true);
    connect(Picture1, &PictureBoxWidget::filesDropped, this,
            afterDrop(&frmMain::Picture1_OLEDragDrop));
    connect(srcPic, &PictureBoxWidget::filesDropped, this, afterDrop(&frmMain::srcPic_OLEDragDrop));
    connect(ControlEvents::watch(Command1, true), &ControlEvents::filesDropped, this,
            afterDrop(&frmMain::Command1_OLEDragDrop));
    connect(ControlEvents::watch(Text3, true), &ControlEvents::filesDropped, this,
            afterDrop(&frmMain::Text3_OLEDragDrop));
    ControlEvents* text1 = ControlEvents::watch(Text1, true);
    connect(text1, &ControlEvents::filesDropped, this, afterDrop(&frmMain::Text1_OLEDragDrop));
    connect(text1, &ControlEvents::focusEntered, this, [this] { Text1_GotFocus(); });
    connect(text1, &ControlEvents::focusLeft, this, [this] { Text1_LostFocus(); });

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { mnuEdit_Click(); });
    connect(mnuUndo, &QAction::triggered, this, [this] { mnuUndo_Click(); });
    connect(mnuCopy, &QAction::triggered, this, [this] { mnuCopy_Click(); });
    connect(mnuPaste, &QAction::triggered, this, [this] { mnuPaste_Click(); });
    connect(mnuHIDImage, &QMenu::aboutToShow, this, [this] { mnuHIDImage_Click(); });
    connect(mnuCopyImage, &QAction::triggered, this, [this] { mnuCopyImage_Click(); });
    connect(mnuPasteImage, &QAction::triggered, this, [this] { mnuPaste_Click(); });
    connect(srcPic, &PictureBoxWidget::mouseReleased, this,
            [this](int button, int shift, int x, int y) { srcPic_MouseUp(button, shift, x, y); });
}

bool frmMain::mosaicIdle() const {
    return isIdle(fromQ(Command2->text()));
}

void frmMain::fitSrcPic() {
    const QSize size(srcPic->box().width(), srcPic->box().height());
    if (srcPic->size() != size)
        srcPic->resize(size);
}

void frmMain::DrawImageEdges() {
    fitSrcPic();
    const ViewRect picture{srcPic->x(), srcPic->y(), srcPic->width(), srcPic->height()};
    const EdgeLines lines = drawImageEdges({edgeLineOf(Line3), edgeLineOf(Line4)},
                                           Picture1->box().backColor(), picture);
    setEdgeLine(Line3, lines.line3);
    setEdgeLine(Line4, lines.line4);
    Picture1->update();
}

void frmMain::UpdateScrollBars() {
    fitSrcPic();
    ViewState view;
    view.viewportWidth = Picture1->width();
    view.viewportHeight = Picture1->height();
    view.vBarWidth = VScroll1->width();
    view.hBarHeight = HScroll1->height();
    view.picture = {srcPic->x(), srcPic->y(), srcPic->width(), srcPic->height()};
    view.hBar = barStateOf(*HScroll1);
    view.vBar = barStateOf(*VScroll1);
    const ViewState next = updateScrollBars(view);
    applyBarState(*VScroll1, next.vBar);
    applyBarState(*HScroll1, next.hBar);
    // The bars' change handlers have moved the picture where a value changed; an axis whose bar
    // is disabled goes back to 0 even when its value already was 0.
    const QPoint at(next.picture.left, next.picture.top);
    if (srcPic->pos() != at) {
        srcPic->move(at);
        DrawImageEdges();
    }
}

void frmMain::HScroll1_Change() {
    srcPic->move(pictureOffset(HScroll1->value()), srcPic->y());
    DrawImageEdges();
}

void frmMain::VScroll1_Change() {
    srcPic->move(srcPic->x(), pictureOffset(VScroll1->value()));
    DrawImageEdges();
}

void frmMain::replaceWorkingPicture(PictureReplacement replacement) {
    srcPic->box().setPicture(std::move(replacement.picture));
    fitSrcPic();
    srcPic->update();
    Text4->setText(toQ(replacement.change.pageTitle));
    Text1->setText(toQ(replacement.change.sourceLine));
    Label6->setText(toQ(replacement.statusText));
    state_.ImageChanged = replacement.change.imageChanged;
    unsetCursor();
    DrawImageEdges();
    UpdateScrollBars();
}

void frmMain::loadWorkingPicture(const std::string& path) {
    Hourglass hourglass(*this);
    PictureUpdate update = loadPicture(path, undo_, srcPic->box().pictureOrImage());
    if (!update.replacement) {
        hourglass.restore();
        if (update.message)
            showMessage(services_.dialogs, *update.message);
        return;
    }
    ImagePath = path;
    replaceWorkingPicture(std::move(*update.replacement));
}

void frmMain::Command1_Click() {
    if (!mosaicIdle())
        return;
    const FileDialogRequest request = openPictureRequest(ImagePath);
    CMDialog1.Filter = request.filter;
    CMDialog1.Flags = request.flags;
    CMDialog1.FileName = request.fileName;
    if (!CMDialog1.ShowOpen(services_.dialogs))
        return;
    loadWorkingPicture(CMDialog1.FileName);
}

void frmMain::DragNDrop(const std::vector<std::string>& files, const std::string& sSource) {
    // A mosaic run reads the picture and the custom text until it ends.
    if (!mosaicIdle())
        return;
    const DropRequest request = confirmDrop(services_.dialogs, files, sSource);
    switch (request.kind) {
        case DropKind::Picture:
            loadWorkingPicture(request.path);
            break;
        case DropKind::Text: {
            TextFilePath = request.path;
            Hourglass hourglass(*this);
            Text3->setPlainText(toQ(loadTextFile(request.path).text));
            break;
        }
        case DropKind::Ignore:
        case DropKind::TooManyFiles:
            break;
    }
}

void frmMain::Command1_OLEDragDrop(const std::vector<std::string>& files) {
    DragNDrop(files, std::string(kImageTarget));
}

void frmMain::Picture1_OLEDragDrop(const std::vector<std::string>& files) {
    DragNDrop(files, std::string(kImageTarget));
}

void frmMain::srcPic_OLEDragDrop(const std::vector<std::string>& files) {
    DragNDrop(files, std::string(kImageTarget));
}

void frmMain::Text1_OLEDragDrop(const std::vector<std::string>& files) {
    DragNDrop(files, std::string(kImageTarget));
}

void frmMain::Text3_OLEDragDrop(const std::vector<std::string>& files) {
    DragNDrop(files, std::string(kTextTarget));
}

void frmMain::SaveUndoData() {
    // Callers go on with their change whatever happens here.
    (void)undo_.save(srcPic->box().pictureOrImage());
}

void frmMain::mnuUndo_Click() {
    if (!mosaicIdle())
        return;
    Hourglass hourglass(*this);
    std::optional<PictureReplacement> undone = undoPicture(undo_, srcPic->box().pictureOrImage());
    if (!undone) {
        mnuUndo->setEnabled(false);
        return;
    }
    replaceWorkingPicture(std::move(*undone));
}

void frmMain::mnuEdit_Click() {
    const bool idle = mosaicIdle();
    const EditMenuState state = editMenuState(SSTab1->currentIndex(), undo_.hasUndo(), CopyIsImage,
                                              services_.clipboard.hasPicture());
    mnuUndo->setEnabled(state.undoEnabled && idle);
    mnuCopy->setEnabled(state.copyEnabled);
    mnuPaste->setEnabled(state.pasteEnabled && idle);
}

void frmMain::mnuCopy_Click() {
    if (CopyIsImage)
        mnuCopyImage_Click();
}

void frmMain::mnuCopyImage_Click() {
    copyPictureToClipboard(services_.clipboard, srcPic->box().image());
}

void frmMain::mnuPaste_Click() {
    if (!mosaicIdle())
        return;
    Hourglass hourglass(*this);
    PictureUpdate update = pastePicture(services_.clipboard, undo_, srcPic->box().pictureOrImage());
    if (!update.replacement) {
        hourglass.restore();
        if (update.message)
            showMessage(services_.dialogs, *update.message);
        return;
    }
    replaceWorkingPicture(std::move(*update.replacement));
}

void frmMain::mnuHIDImage_Click() {
    const ImagePopupState state = imagePopupState(services_.clipboard.hasPicture());
    mnuCopyImage->setEnabled(state.copyEnabled);
    mnuPasteImage->setEnabled(state.pasteEnabled && mosaicIdle());
}

void frmMain::srcPic_MouseUp(int Button, int, int X, int Y) {
    if (Button == 2)
        mnuHIDImage->popup(srcPic->mapToGlobal(QPoint(X, Y)));
}

void frmMain::Text1_GotFocus() {
    CopyIsImage = false;
    mnuCopy->setEnabled(false);
}

void frmMain::Text1_LostFocus() {
    CopyIsImage = true;
    mnuCopy->setEnabled(true);
}

// ---- The mosaic run, its output target, the custom text file and the status panel ----

namespace {

constexpr const char* kCancelCaption = "Cancel";
constexpr const char* kStopCaption = "Stop!";

// A check box's value as the options store it: 0 clear, 1 ticked, 2 greyed.
int checkValue(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

// Gives a picture box's surface the size of its control; added area shows the back colour.
void fitBox(PictureBoxWidget& widget) {
    PictureBox& box = widget.box();
    if (box.width() != widget.width() || box.height() != widget.height())
        (void)box.setSize(widget.width(), widget.height());
}

void setMenuEnabled(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
}

}  // namespace

void frmMain::connectMosaicRun() {
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Check3, &QCheckBox::stateChanged, this, [this] { Check3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(mnuLoadText, &QAction::triggered, this, [this] { mnuLoadText_Click(); });
    connect(picStatus, &PictureBoxWidget::paintRequested, this, [this] { picStatus_Paint(); });
    connect(statusBack, &PictureBoxWidget::paintRequested, this, [this] { Form_Paint(); });
    connect(mnuNormalP, &QAction::triggered, this, [this] { mnuNormalP_Click(); });
    connect(mnuHighP, &QAction::triggered, this, [this] { mnuHighP_Click(); });
    connect(mnuFSP, &QAction::triggered, this, [this] { mnuFSP_Click(); });
}

void frmMain::Command2_Click() {
    const QString caption = Command2->text();
    if (caption == kCancelCaption) {
        // The run under way sees the new caption at its next row end.
        Command2->setText(kStopCaption);
        Command2->setEnabled(false);
        return;
    }
    if (!isIdle(fromQ(caption)))
        return;
    Command2->setText(kCancelCaption);
    runMosaicFromControls();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void frmMain::disableForRun() {
    for (QMenu* menu : {mnuFile, mnuEdit, mnuTools, mnuHelp, mnuWindow})
        setMenuEnabled(menu, false);
    Text1->setEnabled(false);
    Text2->setEnabled(false);
    Picture3b->box().setBackColor(kRunningSwatchColour);
    Picture3b->update();
    mnuNormalP->setEnabled(false);
    mnuHighP->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{
             Command1, Command3,  Command4,  SSTab1,  Command5,  Command6,  Command7,  Command8,
             Command9, Command10, Command11, Check1b, Check2b,   Check2,    Check3,    Combo1b,
             Combo2b,  Combo3b,   Combo4b,   Combo5b, Command1b, Command2b, Command3b, Picture3b,
             Text3,    Text4,     Check1,    Combo1,  Combo2,    Combo3}) {
        control->setEnabled(false);
    }
}

void frmMain::enableAfterRun(Colour swatch, bool statusHiddenFirst) {
    for (QMenu* menu : {mnuFile, mnuEdit, mnuTools, mnuHelp, mnuWindow})
        setMenuEnabled(menu, true);
    mnuNormalP->setEnabled(true);
    mnuHighP->setEnabled(true);
    Text1->setEnabled(true);
    Text2->setEnabled(true);
    Picture3b->box().setBackColor(swatch);
    Picture3b->update();
    for (QWidget* control : std::initializer_list<QWidget*>{
             SSTab1,    Command5, Command6, Command7,  Command8,  Command9, Command10,
             Command11, Check1b,  Check3,   Check2b,   Check2,    Combo1b,  Combo2b,
             Combo3b,   Combo4b,  Combo5b,  Command1b, Command2b, Command3b}) {
        control->setEnabled(true);
    }
    if (statusHiddenFirst)
        statusBack->hide();
    Picture3b->setEnabled(true);
    Command1->setEnabled(true);
    Command3->setEnabled(true);
    const int mode = Combo2->currentIndex();
    if (mode == 0)
        Command4->setEnabled(true);
    if (mode == 0 || mode == 6)
        Text3->setEnabled(true);
    for (QWidget* control : std::initializer_list<QWidget*>{Text4, Check1, Combo1, Combo2, Combo3})
        control->setEnabled(true);
    if (!statusHiddenFirst)
        statusBack->hide();
}

void frmMain::drawStatusBar() {
    fitBox(*picStatus);
    drawProgressBar(picStatus->box(),
                    barPixel(ProgressPos, StatusScaleWidth, picStatus->box().width()));
}

void frmMain::runMosaicFromControls() {
    statusBack->show();
    Lite3D(*statusBack, *picStatHandler, 2);
    statusBack->update();

    const Colour swatch = Picture3b->box().backColor();
    fitBox(*picStatus);
    picStatus->box().cls();
    picStatus->update();
    disableForRun();
    setCursor(Qt::WaitCursor);

    MosaicOptions options;
    options.Mode = static_cast<std::int16_t>(Combo2->currentIndex());
    options.CustomText = customTextForRun(fromQ(Text3->toPlainText()));
    options.Spacer = static_cast<std::int16_t>(Combo3->currentIndex());
    options.FontSize = static_cast<std::int16_t>(Combo1->currentIndex());
    options.CSSSize = state_.CSSSize;
    options.CSSUnit = state_.CSSUnit;
    options.Title = fromQ(Text4->text());
    options.BGColor = CommonDialog1.Color;
    options.OutputPath = fromQ(Text2->text());
    options.ToClipboard = checkValue(*Check3);
    options.OpenInBrowser = checkValue(*Check1);
    options.Priority = mnuNormalP->isChecked() ? RunPriority::Normal : RunPriority::High;

    Label6->clear();
    // Every input that could change the picture is locked until the run ends.
    const Picture& picture = srcPic->box().surface();
    StatusScaleWidth = picture.width() * picture.height();
    ProgressPos = 0;

    const tess::SpeedLog speedLog(services_.programFolder, SpeedLog);
    const RunServices runServices{services_.clock, services_.random, &speedLog};
    // A bar that has not grown by a pixel looks as it did: only the turn of the event loop is due.
    int barDrawnTo = -1;
    MosaicRunHooks hooks(
        services_.pump, ProgressPos,
        [this, &barDrawnTo] {
            fitBox(*picStatus);
            const int right = barPixel(ProgressPos, StatusScaleWidth, picStatus->box().width());
            if (right != barDrawnTo) {
                drawStatusBar();
                picStatus->update();
                barDrawnTo = right;
            }
            services_.pump.doEvents();
        },
        [this] { return Command2->text() == kStopCaption; });
    Result<RunResult> result = [&]() -> Result<RunResult> {
        try {
            return runMosaic(picture, options,
                             MosaicTarget::fromOptions(options, &services_.clipboard), runServices,
                             hooks);
        } catch (const std::bad_alloc&) {
            // The engine reports a clipboard page too large for memory itself; this catches what
            // is left, so a failed allocation never ends the program with the user's picture.
            return Error{errc::OutOfMemory, "There is not enough memory for the page."};
        }
    }();
    // The clipboard reports no failure of its own: a page it did not take leaves it empty.
    if (result && options.toClipboard() && !result->clipboardText.empty() &&
        services_.clipboard.text().empty()) {
        result = Error{errc::Generic, "The clipboard did not take the text."};
    }

    if (!result) {
        unsetCursor();
        Command2->setText(toQ(kIdleCaption));
        Command2->setEnabled(true);
        enableAfterRun(swatch, false);
        picStatus->box().cls();
        picStatus->update();
        showMessage(services_.dialogs, runFailureMessage(result.error(), options.toClipboard()));
        CopyToCBUI();
        return;
    }

    if (result->status == RunStatus::Cancelled) {
        unsetCursor();
        Command2->setText(toQ(kIdleCaption));
        Command2->setEnabled(true);
        enableAfterRun(swatch, false);
        Label6->setText("Incomplete");
        picStatus->box().cls();
        picStatus->update();
        if (options.toClipboard())
            showMessage(services_.dialogs, clipboardRunMessage(RunStatus::Cancelled));
        CopyToCBUI();
    } else {
        StatusScaleWidth = 0;
        PictureBox& bar = picStatus->box();
        bar.pset(bar.width() - 1, 0, bar.backColor());
        bar.pset(bar.width() - 1, bar.height() - 1, bar.backColor());
        Label6->setText("Completed!");
        unsetCursor();
        Command2->setText(toQ(kIdleCaption));
        Command2->setEnabled(true);
        enableAfterRun(swatch, true);
        picStatus->box().cls();
        picStatus->update();
        if (checkValue(*Check1) == 1 && checkValue(*Check3) != 1)
            (void)services_.shell.open(options.OutputPath);
        if (options.toClipboard())
            showMessage(services_.dialogs, clipboardRunMessage(RunStatus::Complete));
        CopyToCBUI();
    }
    if (result->speedLogError)
        showMessage(services_.dialogs, speedLogFailureMessage(*result->speedLogError));
}

void frmMain::Command3_Click() {
    CMDialog1.Filter = "HTML Document (*.html;*.htm)|*.htm;*.html|All Files (*.*)|*.*";
    CMDialog1.Flags = 133126;
    CMDialog1.FileName = OutputDlgPath;
    if (!CMDialog1.ShowSave(services_.dialogs))
        return;
    OutputDlgPath = CMDialog1.FileName;
    Text2->setText(toQ(OutputDlgPath));
}

void frmMain::Text2_Change() {
    // The end of a long path, the file name, stays in view.
    Text2->setCursorPosition(static_cast<int>(Text2->text().size()));
}

void frmMain::Check3_Click() {
    CopyToCBUI();
}

void frmMain::CopyToCBUI() {
    const bool toClipboard = checkValue(*Check3) == 1;
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label2, Text2, Command3, Check1, Frame1})
        control->setEnabled(!toClipboard);
}

void frmMain::Command4_Click() {
    // The File menu's shortcut still reaches it while a run has the menu locked.
    if (!mosaicIdle())
        return;
    CMDialog1.Filter = "Text Documents (*.txt)|*.txt|Stripped Rich Text Format (*.rtf)|*.rtf";
    CMDialog1.Flags = 137220;
    CMDialog1.FileName = TextFilePath;
    if (!CMDialog1.ShowOpen(services_.dialogs))
        return;
    TextFilePath = CMDialog1.FileName;
    Hourglass hourglass(*this);
    Text3->setPlainText(toQ(loadTextFile(TextFilePath).text));
}

void frmMain::mnuLoadText_Click() {
    Command4_Click();
}

void frmMain::picStatus_Paint() {
    // Drawing here changes only the surface about to be painted; asking for a repaint would paint
    // again and again.
    if (mosaicIdle()) {
        fitBox(*picStatus);
        picStatus->box().cls();
        return;
    }
    drawStatusBar();
}

void frmMain::Form_Paint() {
    if (!picStatHandler->isHidden())
        Lite3D(*statusBack, *picStatHandler, 2);
}

void frmMain::Lite3D(PictureBoxWidget& TheForm, const QWidget& TheControl, int Thickness) {
    fitBox(TheForm);
    const QRect at = TheControl.geometry();
    drawSunkenBevel(TheForm.box().surface(), {at.x(), at.y(), at.width(), at.height()}, Thickness);
    TheForm.box().touch();
}

void frmMain::mnuNormalP_Click() {
    mnuNormalP->setChecked(true);
    mnuHighP->setChecked(false);
}

void frmMain::mnuHighP_Click() {
    mnuNormalP->setChecked(false);
    mnuHighP->setChecked(true);
}

void frmMain::mnuFSP_Click() {
    // Its shortcut still reaches it while a run has the Tools menu locked.
    if (!mosaicIdle())
        return;
    const Picture& picture = srcPic->box().surface();
    showMessage(services_.dialogs,
                sizePreviewMessage(picture.width(), picture.height(), fromQ(Text4->text())));
}

void frmMain::Form_Activate() {
    state_.MainActive = true;
}

void frmMain::Form_Unload() {
    runStep([&] { SaveWindowState(*this); });
    runStep([&] {
        const std::string caption = fromQ(mnuLastFX->text());
        const bool shown = mnuLastFX->isVisible() && caption != kLastFXDesignCaption;
        services_.settings.save(std::string(settings::kApp), std::string(settings::kSection),
                                "LastFX", shown ? caption : std::string());
    });
    runStep([&] { undo_.deleteFiles(); });
    if (endProgram)
        endProgram();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!mosaicIdle()) {
        // The run is inside one of its turns of the event loop: it is asked to stop and the
        // window closes once it has ended, so nothing is torn down under it.
        if (Command2->text() == kCancelCaption)
            Command2_Click();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

}  // namespace tess
