// The main window's resizing: half and double size, plain and resampled, the size-mode menus that
// the shrink and grow buttons follow, and the custom resize dialog. The sizes and the drawing live
// in the workspace's plain library; this file runs the frame on the window's pictures.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cstddef>

#include "platform/qt/QtText.h"
#include "shell/ControlEvents.h"
#include "shell/Hourglass.h"
#include "shell/StoredSettings.h"
#include "shell/frmCResize.h"
#include "shell/frmMain.h"
#include "workspace/PictureChange.h"

namespace tess {

using qt::toQ;

namespace {

constexpr int kRightButton = 2;
constexpr const char* kPlainMode = "1";
constexpr const char* kResampleMode = "2";

}  // namespace

void frmMain::connectResize() {
    connect(mnuHalfSize, &QAction::triggered, this, [this] { mnuHalfSize_Click(); });
    connect(mnuDSize, &QAction::triggered, this, [this] { mnuDSize_Click(); });
    connect(mnuCutIHR, &QAction::triggered, this, [this] { mnuCutIHR_Click(); });
    connect(mnuDSizeR, &QAction::triggered, this, [this] { mnuDSizeR_Click(); });
    connect(mnuCResize, &QAction::triggered, this, [this] { mnuCResize_Click(); });
    connect(mnuHidResize1, &QAction::triggered, this, [this] { mnuHidResize1_Click(); });
    connect(mnuResample1, &QAction::triggered, this, [this] { mnuResample1_Click(); });
    connect(mnuResize2, &QAction::triggered, this, [this] { mnuResize2_Click(); });
    connect(mnuResample2, &QAction::triggered, this, [this] { mnuResample2_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(ControlEvents::watch(Command8, false), &ControlEvents::mouseReleased, this,
            [this](int button, int shift, int x, int y) { Command8_MouseUp(button, shift, x, y); });
    connect(ControlEvents::watch(Command9, false), &ControlEvents::mouseReleased, this,
            [this](int button, int shift, int x, int y) { Command9_MouseUp(button, shift, x, y); });
}

bool frmMain::resizeWorkingPicture(PictureSize size, ResizeDrawing drawing, bool idleStatus) {
    if (!mosaicIdle())
        return false;
    // The drawing reads the picture's surface into flipPic, the scratch picture, whose memory
    // serves from one command to the next; the undo copy is the assigned picture.
    PictureBox& scratch = flipPic->box();
    if (!readyResizeTarget(srcPic->box().surface(), size, drawing, scratch.backColor(),
                           scratch.surface()))
        return false;
    // While the undo copy is written, the new picture is drawn into the scratch picture and put
    // on the surface, and the scratch picture then takes the assigned picture's place. Where the
    // surface's memory holds the new picture it is copied there afterwards; else the picture is
    // drawn into a new surface in the same pass, since the system clears new memory page by page
    // as it is first written and one pass over it costs less than two. Without room for the new
    // surface the picture stays as it was.
    Picture& current = srcPic->box().surface();
    if (static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) <=
        current.pixelCapacity()) {
        SaveUndoDataDuring([&] {
            drawResizedInto(current, drawing, scratch.surface());
            // Within the surface's memory the copy cannot fail.
            static_cast<void>(current.copyFrom(scratch.surface()));
        });
    } else {
        Result<Picture> larger = Picture::createForOverwrite(size.width, size.height);
        if (!larger)
            return false;
        SaveUndoDataDuring([&] { drawResizedInto(current, drawing, scratch.surface(), &*larger); });
        current = std::move(*larger);
    }
    srcPic->box().exchangePictureOfSurface(scratch.surface());
    scratch.touch();
    srcPic->update();
    const int width = srcPic->box().width();
    const int height = srcPic->box().height();
    Label6->setText(
        toQ(idleStatus ? idleStatusText(width, height) : sizeStatusText(width, height)));
    DrawImageEdges();
    UpdateScrollBars();
    state_.ImageChanged = true;
    return true;
}

void frmMain::resizeCommand(std::optional<PictureSize> size, ResizeDrawing drawing) {
    if (!size)
        return;
    Hourglass hourglass(*this);
    (void)resizeWorkingPicture(*size, drawing, true);
}

void frmMain::mnuHalfSize_Click() {
    resizeCommand(halfSize(srcPic->box().surface()), ResizeDrawing::Stretch);
}

void frmMain::mnuDSize_Click() {
    resizeCommand(doubleSize(srcPic->box().surface()), ResizeDrawing::Stretch);
}

void frmMain::mnuCutIHR_Click() {
    resizeCommand(halfSize(srcPic->box().surface()), ResizeDrawing::Resample);
}

void frmMain::mnuDSizeR_Click() {
    resizeCommand(doubleSize(srcPic->box().surface()), ResizeDrawing::Resample);
}

void frmMain::mnuHidResize1_Click() {
    mnuHidResize1->setChecked(true);
    mnuResample1->setChecked(false);
    saveSetting("SizeMode1", kPlainMode);
}

void frmMain::mnuResample1_Click() {
    mnuResample1->setChecked(true);
    mnuHidResize1->setChecked(false);
    saveSetting("SizeMode1", kResampleMode);
}

void frmMain::mnuResize2_Click() {
    mnuResize2->setChecked(true);
    mnuResample2->setChecked(false);
    saveSetting("SizeMode2", kPlainMode);
}

void frmMain::mnuResample2_Click() {
    mnuResample2->setChecked(true);
    mnuResize2->setChecked(false);
    saveSetting("SizeMode2", kResampleMode);
}

void frmMain::Command8_Click() {
    if (mnuHidResize1->isChecked()) {
        mnuHalfSize_Click();
    } else {
        mnuCutIHR_Click();
    }
}

void frmMain::Command9_Click() {
    if (mnuResize2->isChecked()) {
        mnuDSize_Click();
    } else {
        mnuDSizeR_Click();
    }
}

void frmMain::Command10_Click() {
    mnuCResize_Click();
}

void frmMain::Command8_MouseUp(int Button, int, int X, int Y) {
    if (Button == kRightButton)
        mnuHidSize1->popup(Command8->mapToGlobal(QPoint(X, Y)));
}

void frmMain::Command9_MouseUp(int Button, int, int X, int Y) {
    if (Button == kRightButton)
        mnuHidSize2->popup(Command9->mapToGlobal(QPoint(X, Y)));
}

void frmMain::mnuCResize_Click() {
    if (!mosaicIdle() || (resizeDialog_ && resizeDialog_->isVisible()))
        return;
    QPointer<frmCResize> dialog = new frmCResize(*this, state_, services_.settings);
    resizeDialog_ = dialog;
    dialog->exec();
    delete dialog.data();
}

frmCResize* frmMain::resizeDialog() const {
    return resizeDialog_.data();
}

}  // namespace tess
