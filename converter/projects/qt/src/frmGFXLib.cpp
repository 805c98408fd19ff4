#include "projects/qt/frmGFXLib.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/Colour.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtText.h"
#include "projects/qt/LibraryPreview.h"
#include "projects/qt/ProgressWindow.h"

namespace tess {

using qt::PictureBoxWidget;
using qt::toQ;

namespace {

constexpr const char* kLoadFailure = "Unable to load graphics library.";
// The key codes and characters the preview answers to.
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyEnter = 13;
constexpr int kKeySpace = 32;

// The banner: a dark blue band with a row of mosaic cells and a light rule under it.
Picture bannerPicture() {
    constexpr int w = 310;
    constexpr int h = 59;
    Picture p(w, h, rgb(24, 40, 96));
    for (int y = 0; y < h; ++y)
        p.fillBox(0, y, w - 1, y, rgb(20 + y, 36 + y, 90 + y * 2));
    for (int row = 0; row < 3; ++row) {
        for (int cell = 0; cell * 10 < w; ++cell) {
            const int v = (cell * 37 + row * 53) % 160;
            const int x = cell * 10 + 2;
            const int y = 12 + row * 12;
            p.fillBox(x, y, std::min(x + 7, w - 1), y + 8,
                      rgb(80 + v / 2, 120 + v / 3, 255 - v / 2));
        }
    }
    p.fillBox(0, h - 3, w - 1, h - 2, rgb(200, 210, 240));
    return p;
}

// An arrow picture, pointing left or right, on the window's face colour.
Picture arrowPicture(bool left) {
    constexpr int w = 35;
    constexpr int h = 58;
    Picture p(w, h, rgb(212, 208, 200));
    const int mid = h / 2;
    for (int x = 0; x < 24; ++x) {
        const int column = left ? 6 + x : w - 7 - x;
        const int reach = x * 3 / 4;
        p.fillBox(column, mid - reach, column, mid + reach, rgb(40, 70, 170));
    }
    return p;
}

// Qt shows "&" as a mnemonic mark: a caption's own ampersands are doubled.
QString menuText(const std::string& caption) {
    QString text = toQ(caption);
    text.replace('&', "&&");
    return text;
}

// The captions under the preview: centred, in the window's font.
QLabel* makeCaption(QWidget* parent, const char* name, const char* text, int top) {
    QLabel* label = qt::makeLabel(parent, name, text, QRect(97, top, 115, 15));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

frmGFXLib::frmGFXLib(LibraryBrowserLinks links, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      links_(std::move(links)) {
    setObjectName("frmGFXLib");
    setWindowTitle("Graphics Library");
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(qt::designFont());
    buildControls();
    connectHandlers();
}

frmGFXLib::~frmGFXLib() {
    // A window destroyed without closing still gives the main window back.
    releaseMain();
}

void frmGFXLib::buildControls() {
    Image1 = new PictureBoxWidget(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 310, 59);
    Image1->box().setPicture(bannerPicture());

    Picture1 = new PictureBoxWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setGeometry(101, 82, 108, 68);

    picPreview = new PictureBoxWidget(Picture1);
    picPreview->setObjectName("picPreview");
    picPreview->setGeometry(30, 8, 48, 48);
    picPreview->setToolTip("Double click image to select.");
    picPreview->setFocusPolicy(Qt::StrongFocus);
    (void)picPreview->box().setSize(48, 48);

    for (LineShape* line : {&Line1, &Line2, &Line3, &Line4})
        line->borderColor = kFrameColour;

    Image2 = new PictureBoxWidget(this);
    Image2->setObjectName("Image2");
    Image2->setGeometry(kImage2DesignLeft, 86, 35, 58);
    Image2->box().setPicture(arrowPicture(true));
    Image2->setToolTip("Scroll backwards through the current library.");

    Image3 = new PictureBoxWidget(this);
    Image3->setObjectName("Image3");
    Image3->setGeometry(230, 86, 35, 58);
    Image3->box().setPicture(arrowPicture(false));
    Image3->setToolTip("Scroll forward through the current library.");

    Label3 = makeCaption(this, "Label3", "null", 162);
    Label1 = makeCaption(this, "Label1", "Image 1 of 1", 178);

    Command1 =
        qt::makeButton(this, "Command1", "Libraries >", QRect(5, 182, 75, 23),
                       "Click to choose a Graphics Library from the Graphics Library Database.");
    Command2 =
        qt::makeButton(this, "Command2", "Cancel", QRect(228, 182, 75, 23),
                       "Click to unload the Graphics Library without applying the new image.");

    mnuLibrary = new QMenu("&Available Libraries...", this);
    mnuLibrary->setObjectName("mnuLibrary");
    auto* first = mnuLibrary->addAction("Default");
    first->setObjectName("mnuLibs");
    first->setCheckable(true);
    mnuLibs.push_back(first);
    captions_.push_back("Default");

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setGeometry(kClientWidth + 20, 20, 100, 17);
    HScroll1->setRange(0, 0);
    HScroll1->hide();
}

void frmGFXLib::connectHandlers() {
    connect(Picture1, &PictureBoxWidget::paintRequested, this, [this] { paintViewport(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(Image2, &PictureBoxWidget::mouseReleased, this,
            [this](int button, int shift, int x, int y) { Image2_MouseUp(button, shift, x, y); });
    connect(Image3, &PictureBoxWidget::mouseReleased, this,
            [this](int button, int shift, int x, int y) { Image3_MouseUp(button, shift, x, y); });
    connect(picPreview, &PictureBoxWidget::doubleClicked, this, [this] { picPreview_DblClick(); });
    connect(picPreview, &PictureBoxWidget::keyReleased, this, [this](QKeyEvent* event) {
        // A held key sends a release before every repeat; only the real release is a key up, so
        // holding an arrow key steps one picture, not through the whole library.
        if (event->isAutoRepeat())
            return;
        if (event->key() == Qt::Key_Left)
            picPreview_KeyUp(kKeyLeft, 0);
        else if (event->key() == Qt::Key_Right)
            picPreview_KeyUp(kKeyRight, 0);
    });
    connect(picPreview, &PictureBoxWidget::keyPressed, this, [this](QKeyEvent* event) {
        int key = 0;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            key = kKeyEnter;
        else if (event->key() == Qt::Key_Space)
            key = kKeySpace;
        if (key == 0)
            return;
        picPreview_KeyPress(key);
        if (key == 0)
            event->accept();
    });
}

void frmGFXLib::paintViewport() {
    PictureBox& box = Picture1->box();
    if (box.width() != Picture1->width() || box.height() != Picture1->height())
        (void)box.setSize(Picture1->width(), Picture1->height());
    box.surface().fill(box.backColor());
    for (const LineShape* line : {&Line1, &Line2, &Line3, &Line4}) {
        if (line->visible)
            box.surface().line(line->x1, line->y1, line->x2, line->y2, line->borderColor);
    }
}

std::string frmGFXLib::libraryCaption(std::size_t i) const {
    return i < captions_.size() ? captions_[i] : std::string();
}

void frmGFXLib::setLibraryCaption(std::size_t i, const std::string& caption) {
    captions_[i] = caption;
    mnuLibs[i]->setText(menuText(caption));
}

void frmGFXLib::checkOnly(std::size_t index) {
    for (std::size_t i = 0; i < mnuLibs.size(); ++i)
        mnuLibs[i]->setChecked(i == index);
}

void frmGFXLib::Form_Load() {
    if (links_.GFXArrowLeft) {
        if (*links_.GFXArrowLeft == 0)
            *links_.GFXArrowLeft = kImage2DesignLeft;
        Image2->move(*links_.GFXArrowLeft - 3, Image2->y());
    }
    if (links_.applyTooltipSetting)
        links_.applyTooltipSetting(*this);
    if (QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr) {
        const QRect frame = main->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }

    const Services& services = *links_.services;
    TGLList.clear();
    TGLPaths.clear();
    for (LibraryFile& library : listLibraries(services.folders.graphics)) {
        TGLList.push_back(std::move(library.name));
        TGLPaths.push_back(std::move(library.path));
    }
    if (TGLList.empty()) {
        failLoad();
        return;
    }

    setLibraryCaption(0, libraryDisplayName(TGLList[0]));
    for (std::size_t i = 1; i < TGLList.size(); ++i) {
        auto* item = mnuLibrary->addAction(QString());
        item->setObjectName("mnuLibs");
        item->setCheckable(true);
        mnuLibs.push_back(item);
        captions_.emplace_back();
        setLibraryCaption(i, libraryDisplayName(TGLList[i]));
    }
    for (std::size_t i = 0; i < mnuLibs.size(); ++i) {
        // A checkable item turns its mark over before the handler sees it: the handler decides.
        connect(mnuLibs[i], &QAction::triggered, this, [this, i](bool checked) {
            mnuLibs[i]->setChecked(!checked);
            mnuLibs_Click(static_cast<int>(i));
        });
    }

    const LibraryChoice choice =
        chooseLibrary(TGLList, services.settings.get("Tessaryn32", "Settings", "PrevGFXLib", ""));
    checkOnly(choice.checked);
    CurrentLibName = choice.currentName;
    LoadGFXLibFile(choice.loadName);

    if (!showUnpackedPictures()) {
        failLoad();
        return;
    }
    if (links_.libraryItemEnabled && links_.libraryItemEnabled()) {
        GFXMenuLocked = true;
        if (links_.setLibraryItemEnabled)
            links_.setLibraryItemEnabled(false);
    } else {
        GFXMenuLocked = false;
    }
    CenterPic();
    DrawPreviewFrame();
    if (links_.applyTransparency)
        links_.applyTransparency(*this);
    CleanGFXLibFiles(false);
    // The arrow keys, Enter and Space work on the preview from the start.
    picPreview->setFocus();
    loaded_ = true;
}

void frmGFXLib::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    Timer1->stop();
    unpacked_.clear();
    if (links_.progressWindow)
        links_.progressWindow().unload();
    releaseMain();
    if (GFXMenuLocked && links_.setLibraryItemEnabled)
        links_.setLibraryItemEnabled(true);
    hide();
    if (QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr) {
        main->raise();
        main->activateWindow();
    }
    emit unloaded();
}

void frmGFXLib::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmGFXLib::Command1_Click() {
    mnuLibrary->popup(mapToGlobal(QPoint(Command1->x() + Command1->width(), Command1->y())));
}

void frmGFXLib::Command2_Click() {
    Form_Unload();
}

void frmGFXLib::Timer1_Timer() {
    if (isVisible())
        raise();
}

void frmGFXLib::failLoad() {
    unpacked_.clear();
    if (links_.progressWindow)
        links_.progressWindow().unload();
    releaseMain();
    links_.services->dialogs.msgBox(kLoadFailure, mb::OKOnly | mb::Exclamation, "Error");
    Form_Unload();
}

void frmGFXLib::releaseMain() {
    if (!mainLocked_)
        return;
    mainLocked_ = false;
    if (QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr)
        main->setEnabled(true);
}

void frmGFXLib::LoadGFXLibFile(const std::string& sFileName) {
    hide();
    // Hidden, the browser holds nothing back: the main window takes no input until it is shown
    // again or closed.
    if (QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr) {
        if (main->isEnabled()) {
            main->setEnabled(false);
            mainLocked_ = true;
        }
    }
    ProgressWindow& progress = links_.progressWindow();
    progress.setLines("Loading GFX Lib...", libraryName(sFileName), "Opening file...");
    progress.show(*this);

    unpacked_.clear();
    const std::optional<std::size_t> index = libraryFileIndex(TGLList, sFileName);
    if (!index)
        return;
    const Result<std::string> file = readLibraryFile(TGLPaths[*index]);
    if (!file)
        return;
    Result<std::vector<LibraryPicture>> pictures = unpackLibrary(
        *file, [](std::string_view bytes) { return decodePicture(bytes, syscolour::ButtonFace); },
        [&](const std::string& step) { progress.step(step); });
    if (pictures)
        unpacked_ = std::move(pictures).value();
}

void frmGFXLib::CleanGFXLibFiles(bool iIsShow) {
    ProgressWindow& progress = links_.progressWindow();
    progress.step("Cleaning up...");
    unpacked_.clear();
    progress.unload();
    releaseMain();
    if (iIsShow) {
        show();
        Timer1->start();
    }
}

bool frmGFXLib::showUnpackedPictures() {
    if (unpacked_.empty())
        return false;
    std::vector<std::string> names;
    std::vector<Picture> thumbnails;
    std::vector<std::string> bytes;
    std::vector<bool> pending;
    for (LibraryPicture& picture : unpacked_) {
        names.push_back(picture.name);
        thumbnails.push_back(std::move(picture.thumbnail));
        bytes.push_back(std::move(picture.data));
        pending.push_back(picture.pending);
    }
    BMPFile = std::move(names);
    picFromDisk = std::move(thumbnails);
    pendingData_ = std::move(bytes);
    thumbnailPending_ = std::move(pending);
    makeThumbnail(0);
    const int last = static_cast<int>(picFromDisk.size()) - 1;
    HScroll1->setMaximum(last);
    HScroll1->setValue(0);
    HScroll1->setEnabled(last > 0);
    picPreview->box().setPicture(picFromDisk[0]);
    picPreview->resize(picFromDisk[0].width(), picFromDisk[0].height());
    picPreview->update();
    Label1->setText(toQ("Image 1 of " + std::to_string(last + 1)));
    Label3->setText(toQ(pictureDisplayName(BMPFile[0], ExtensionOrder::Load)));
    return true;
}

void frmGFXLib::mnuLibs_Click(int Index) {
    Timer1->stop();
    if (Index < 0 || static_cast<std::size_t>(Index) >= mnuLibs.size())
        return;
    const auto index = static_cast<std::size_t>(Index);
    if (mnuLibs[index]->isChecked()) {
        Timer1->start();
        return;
    }
    checkOnly(index);
    LoadGFXLibFile(TGLList[index]);
    if (!showUnpackedPictures()) {
        failLoad();
        return;
    }
    CenterPic();
    DrawPreviewFrame();
    CurrentLibName = libraryCaption(index);
    links_.services->settings.save("Tessaryn32", "Settings", "PrevGFXLib", TGLList[index]);
    CleanGFXLibFiles(true);
}

void frmGFXLib::CenterPic() {
    previewLeft =
        static_cast<float>(Picture1->width()) / 2 - static_cast<float>(picPreview->width()) / 2 + 1;
    previewTop =
        static_cast<float>(Picture1->height()) / 2 - static_cast<float>(picPreview->height()) / 2;
    picPreview->move(Picture::pixelCoordinate(previewLeft), Picture::pixelCoordinate(previewTop));
}

void frmGFXLib::DrawPreviewFrame() {
    const double l = previewLeft;
    const double t = previewTop;
    const double w = picPreview->width();
    const double h = picPreview->height();
    auto place = [](LineShape& line, double x1, double x2, double y1, double y2) {
        line.x1 = Picture::pixelCoordinate(x1);
        line.x2 = Picture::pixelCoordinate(x2);
        line.y1 = Picture::pixelCoordinate(y1);
        line.y2 = Picture::pixelCoordinate(y2);
    };
    place(Line1, l, l + w, t - 1, t - 1);
    place(Line2, l, l + w, t + h + 1, t + h + 1);
    place(Line3, l - 1, l - 1, t - 1, t + h + 1);
    place(Line4, l + w + 1, l + w + 1, t - 1, t + h + 1);
    Picture1->update();
}

void frmGFXLib::makeThumbnail(std::size_t i) {
    if (i >= thumbnailPending_.size() || !thumbnailPending_[i])
        return;
    picFromDisk[i] = pendingThumbnail(pendingData_[i], [](std::string_view bytes) {
        return decodeLibraryPreview(bytes, syscolour::ButtonFace);
    });
    thumbnailPending_[i] = false;
}

void frmGFXLib::showPicture(std::size_t i) {
    makeThumbnail(i);
    picPreview->box().setPicture(picFromDisk[i]);
    picPreview->resize(picFromDisk[i].width(), picFromDisk[i].height());
    picPreview->Refresh();
}

void frmGFXLib::HScroll1_Change() {
    const int value = HScroll1->value();
    if (value < 0 || static_cast<std::size_t>(value) >= picFromDisk.size())
        return;
    const auto i = static_cast<std::size_t>(value);
    Label1->setText(
        toQ("Image " + std::to_string(i + 1) + " of " + std::to_string(HScroll1->maximum() + 1)));
    Label3->setText(toQ(pictureDisplayName(BMPFile[i], ExtensionOrder::Browse)));
    showPicture(i);
    CenterPic();
    DrawPreviewFrame();
}

void frmGFXLib::Image2_MouseUp(int Button, int, double X, double Y) {
    if (Button != 1 || !(X > 0 && X < Image2->width() && Y > 0 && Y < Image2->height()))
        return;
    if (HScroll1->value() != HScroll1->minimum())
        HScroll1->setValue(HScroll1->value() - 1);
}

void frmGFXLib::Image3_MouseUp(int Button, int, double X, double Y) {
    if (Button != 1 || !(X > 0 && X < Image3->width() && Y > 0 && Y < Image3->height()))
        return;
    if (HScroll1->value() != HScroll1->maximum())
        HScroll1->setValue(HScroll1->value() + 1);
}

void frmGFXLib::picPreview_KeyUp(int KeyCode, int) {
    if (KeyCode == kKeyLeft)
        Image2_MouseUp(1, 0, 1, 1);
    else if (KeyCode == kKeyRight)
        Image3_MouseUp(1, 0, 1, 1);
}

void frmGFXLib::picPreview_KeyPress(int& KeyAscii) {
    if (KeyAscii != kKeyEnter && KeyAscii != kKeySpace)
        return;
    KeyAscii = 0;
    picPreview_DblClick();
}

void frmGFXLib::picPreview_DblClick() {
    if (!isLoaded())
        return;
    setCursor(Qt::WaitCursor);
    const auto i =
        std::min(static_cast<std::size_t>(std::max(0, HScroll1->value())), BMPFile.size() - 1);
    const std::string name = pictureDisplayName(BMPFile[i], ExtensionOrder::Browse);
    const std::string title = name + " From " + CurrentLibName + " Graphics Library";
    Picture picture = picPreview->box().pictureOrImage();
    if (!pendingData_[i].empty()) {
        // Shown from a reduced decode: the picture taken is the loader's.
        Result<Picture> loaded = decodePicture(pendingData_[i], syscolour::ButtonFace);
        if (!loaded) {
            unsetCursor();
            links_.services->dialogs.msgBox(
                "The picture \"" + name + "\" cannot be loaded: " + loaded.error().reason + ".",
                mb::OKOnly | mb::Exclamation, "Error Loading Image");
            return;
        }
        picture = libraryThumbnail(*loaded);
    }
    if (links_.takePicture)
        links_.takePicture(picture, title);
    unsetCursor();
    Form_Unload();
}

}  // namespace tess
