#include "shell/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <exception>
#include <future>
#include <optional>
#include <system_error>

#include "platform/qt/MenuOpening.h"
#include "platform/qt/QtText.h"
#include "shell/ControlEvents.h"
#include "shell/Hourglass.h"
#include "workspace/EditMenu.h"
#include "workspace/Loading.h"
#include "workspace/PictureChange.h"
#include "workspace/PictureView.h"
#include "workspace/WorkspaceActions.h"

// The working picture: its view, loading and dropping, undo and the picture clipboard.

namespace tess {

using qt::fromQ;
using qt::PictureBoxWidget;
using qt::toQ;

namespace {

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
    // The Edit menu's items take their states from its opening, also when a shortcut reaches them.
    qt::MenuOpening::connect(*this, *mnuEdit, [this] { mnuEdit_Click(); });
    connect(mnuUndo, &QAction::triggered, this, [this] { mnuUndo_Click(); });
    connect(mnuCopy, &QAction::triggered, this, [this] { mnuCopy_Click(); });
    connect(mnuPaste, &QAction::triggered, this, [this] { mnuPaste_Click(); });
    qt::MenuOpening::connect(*this, *mnuHIDImage, [this] { mnuHIDImage_Click(); });
    connect(mnuCopyImage, &QAction::triggered, this, [this] { mnuCopyImage_Click(); });
    connect(mnuPasteImage, &QAction::triggered, this, [this] { mnuPaste_Click(); });
    connect(srcPic, &PictureBoxWidget::mouseReleased, this,
            [this](int button, int shift, int x, int y) { srcPic_MouseUp(button, shift, x, y); });
}

bool frmMain::mosaicIdle() const {
    return !effectBusy_ && isIdle(fromQ(Command2->text()));
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
    ImagePath = path;
    Hourglass hourglass(*this);
    PictureUpdate update = loadPicture(path, undo_, srcPic->box().pictureOrImage());
    if (!update.replacement) {
        hourglass.restore();
        if (update.message)
            showMessage(services_.dialogs, *update.message);
        // The picture and its texts stay, and so does ImageChanged: a project saved next must
        // store the picture shown, not the file its source line names.
        Label6->setText(toQ(idleStatusText(srcPic->box().width(), srcPic->box().height())));
        DrawImageEdges();
        UpdateScrollBars();
        return;
    }
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
            loadCustomTextFile(request.path);
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

void frmMain::SaveUndoDataDuring(const std::function<void()>& change) {
    const std::optional<Picture>& assigned = srcPic->box().picture();
    // Without an assigned picture the copy is of the surface, which the change may draw on.
    if (!assigned) {
        SaveUndoData();
        change();
        return;
    }
    const Picture& copied = *assigned;
    const auto save = [this, &copied] {
        try {
            (void)undo_.save(copied);
        } catch (const std::exception&) {
            // Nothing to undo then, as after any save that fails.
        }
    };
    std::future<void> saving;
    try {
        saving = std::async(std::launch::async, save);
    } catch (const std::system_error&) {
        save();  // no thread to be had
    }
    // The wait comes also when the change throws: the future's end waits for its thread.
    change();
    if (saving.valid())
        saving.wait();
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
    mnuCopy->setEnabled(state.copyEnabled && idle);
    mnuPaste->setEnabled(state.pasteEnabled && idle);
}

void frmMain::mnuCopy_Click() {
    // Like the other Edit items, its shortcut reaches it while a run has the menu locked.
    if (!mosaicIdle())
        return;
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

}  // namespace tess
