#include "shell/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <initializer_list>

#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "shell/SamplePicture.h"
#include "shell/frmCSS.h"
#include "workspace/PictureView.h"

// Construction and layout: the controls, the menus and their design state.

namespace tess {

using qt::makeButton;
using qt::makeCheck;
using qt::makeCombo;
using qt::makeEdit;
using qt::makeFrame;
using qt::makeItem;
using qt::makeLabel;
using qt::makeSeparator;
using qt::makeSubmenu;
using qt::PictureBoxWidget;
using qt::placed;

namespace {

// The status panel's controls share one tooltip.
constexpr const char* kStatusTip =
    "Mosaic generation status. (Right click to toggle graphical/classic mode)";
constexpr int kSwatchSize = 16;

PictureBoxWidget* makePicture(QWidget* parent, const char* name, QRect geometry,
                              Colour back = syscolour::ButtonFace) {
    return placed(new PictureBoxWidget(parent, back), name, geometry);
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
    setFont(qt::designFont());

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
    connectOptions();
    connectWorkspace();
    connectMosaicRun();
    connectProjects();
    connectEffects();
    connectResize();
    connectPreferences();
    connectRecentFiles();
    connectWindowMenu();
    connectSiblings();
    connectWebAndAbout();

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
    Text3 = new qt::MultiLineTextBox(Frame4);
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

}  // namespace tess
