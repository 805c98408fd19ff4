// The main window's effects: the 38 effect handlers over the effect table, the repeat of the last
// effect, the flip and invert tools, and the effects dialog with its thumbnail. The pixel work
// lives in the effects library; this file runs its frame on the window's pictures.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>

#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "effects/FlipInvert.h"
#include "effects/LastEffect.h"
#include "effects/Thumbnail.h"
#include "effects/WaitSeconds.h"
#include "platform/qt/QtText.h"
#include "shell/Hourglass.h"
#include "shell/frmFX.h"
#include "shell/frmMain.h"

namespace tess {

using qt::fromQ;
using qt::toQ;

// While an effect, a tool or the repeat's wait is under way: the busy state that keeps other
// picture changes out, the hourglass (over the window, or the whole screen for Outline) and, for
// the repeat, the disabled window and the progress window. Everything comes back on every way out.
class EffectScope {
  public:
    EffectScope(frmMain& window, bool screenHourglass) : window_(window), screen_(screenHourglass) {
        window_.effectBusy_ = true;
        if (screen_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            window_.setCursor(Qt::WaitCursor);
        }
    }
    ~EffectScope() {
        if (disabled_)
            window_.setEnabled(true);
        if (progress_)
            window_.progressWindow().unload();
        if (screen_) {
            QApplication::restoreOverrideCursor();
        } else {
            window_.unsetCursor();
        }
        window_.effectBusy_ = false;
    }
    EffectScope(const EffectScope&) = delete;
    EffectScope& operator=(const EffectScope&) = delete;

    // The repeat's progress window with its three lines, the main window disabled behind it.
    void showProgress(const std::string& effectName) {
        progress_ = true;
        ProgressWindow& progress = window_.progressWindow();
        progress.setLines("Applying Effect", effectName, "Please Wait...");
        disabled_ = true;
        window_.setEnabled(false);
        progress.show(window_);
    }

    // The repeat's wait is over: the effect's handler runs next, in a frame of its own.
    void endWait() { window_.effectBusy_ = false; }

  private:
    frmMain& window_;
    bool screen_;
    bool disabled_ = false;
    bool progress_ = false;
};

namespace {

// The effect handlers in the order of the effect table, which is the order of effectItems().
using Handler = void (frmMain::*)();
constexpr std::array<Handler, fx::kEffectCount> kHandlers = {
    &frmMain::mnu3DTiles_Click,     &frmMain::mnuBRTiles_Click,  &frmMain::mnuBandW_Click,
    &frmMain::mnuBlur_Click,        &frmMain::mnuBoxes_Click,    &frmMain::mnuBright_Click,
    &frmMain::mnuCircleWorm_Click,  &frmMain::mnuCircular_Click, &frmMain::mnuCorruption_Click,
    &frmMain::mnuCorruptionB_Click, &frmMain::mnuDarken_Click,   &frmMain::mnuContrastDown_Click,
    &frmMain::mnuEyes_Click,        &frmMain::mnuGrey_Click,     &frmMain::mnuContrastUp_Click,
    &frmMain::mnuInfrared_Click,    &frmMain::mnuIEmboss_Click,  &frmMain::mnuInterlace_Click,
    &frmMain::mnuIScape_Click,      &frmMain::mnuMosaic_Click,   &frmMain::mnuMTiles_Click,
    &frmMain::mnuNeon_Click,        &frmMain::mnuNightCam_Click, &frmMain::mnuOEmboss_Click,
    &frmMain::mnuOutline_Click,     &frmMain::mnuPixelate_Click, &frmMain::mnuPTiles_Click,
    &frmMain::mnuRGBBlue_Click,     &frmMain::mnuRGBGreen_Click, &frmMain::mnuRGBRed_Click,
    &frmMain::mnuSpiral_Click,      &frmMain::mnuStereoG_Click,  &frmMain::mnuTargets_Click,
    &frmMain::mnuTV_Click,          &frmMain::mnuTVSnowBW_Click, &frmMain::mnuTVSnow_Click,
    &frmMain::mnuVisor_Click,       &frmMain::mnuXFiles_Click,
};

}  // namespace

void frmMain::connectEffects() {
    const std::array<QAction*, 38> items = effectItems();
    for (std::size_t k = 0; k < items.size(); ++k) {
        const Handler handler = kHandlers[k];
        connect(items[k], &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
    connect(mnuLastFX, &QAction::triggered, this, [this] { mnuLastFX_Click(); });
    connect(mnuImgEfx, &QAction::triggered, this, [this] { mnuImgEfx_Click(); });
    connect(mnuFlipH, &QAction::triggered, this, [this] { mnuFlipH_Click(); });
    connect(mnuFlipV, &QAction::triggered, this, [this] { mnuFlipV_Click(); });
    connect(mnuInvert, &QAction::triggered, this, [this] { mnuInvert_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { mnuFlipH_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { mnuFlipV_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { mnuInvert_Click(); });
}

bool frmMain::applyToWorkingPicture(fx::EffectStyle style, fx::EffectFunction effect) {
    // The effects read and draw on the picture's surface itself; flipPic is the scratch picture,
    // and both keep their memory from one command to the next.
    PictureBox& box = srcPic->box();
    PictureBox& scratch = flipPic->box();
    Result<fx::EffectRun> run =
        fx::EffectRun::prepare(style, box.surface(), scratch.surface(), scratch.backColor());
    if (!run)
        return false;
    // An in-place run's result is copied to the scratch picture, so its room is had first too.
    if (style == fx::EffectStyle::InPlace &&
        !scratch.surface().assignForOverwrite(box.width(), box.height()))
        return false;
    // The undo copy is the assigned picture, which the run does not touch. While it is written,
    // the result is also put on the other of the two pictures (the surface, or the scratch
    // picture for an in-place run), which then takes the assigned picture's place.
    // The two pictures have one size, so the copy needs no memory and cannot fail.
    SaveUndoDataDuring([&] {
        if (std::move(*run).run(effect, services_.random, services_.clock) ==
            fx::EffectOutput::Scratch)
            static_cast<void>(box.surface().copyFrom(scratch.surface()));
        else
            static_cast<void>(scratch.surface().copyFrom(box.surface()));
    });
    box.exchangePictureOfSurface(scratch.surface());
    scratch.touch();
    srcPic->Refresh();
    state_.ImageChanged = true;
    return true;
}

void frmMain::runEffect(int index) {
    if (index < 0 || index >= fx::kEffectCount || !mosaicIdle())
        return;
    const fx::EffectEntry& entry = fx::effectTable()[static_cast<std::size_t>(index)];
    if (entry.apply == nullptr)
        return;
    EffectScope scope(*this, entry.screenHourglass);
    if (!applyToWorkingPicture(entry.style, entry.apply))
        return;
    mnuLastFX->setText(toQ(fx::lastEffectCaption(entry.displayName)));
    mnuLastFX->setVisible(true);
    mnuLineLFBreak->setVisible(true);
}

void frmMain::hideLastEffect() {
    mnuLastFX->setVisible(false);
    mnuLineLFBreak->setVisible(false);
}

void frmMain::mnuLastFX_Click() {
    if (!mnuLastFX->isVisible() || !mosaicIdle())
        return;
    // A caption too short to hold a name (an edited stored value) repeats nothing.
    const std::optional<std::string> name = fx::lastEffectName(fromQ(mnuLastFX->text()));
    if (!name) {
        hideLastEffect();
        return;
    }
    EffectScope scope(*this, false);
    scope.showProgress(*name);
    fx::WaitSeconds(0.5, services_.clock, services_.pump);
    // The caption is read again after the wait.
    const std::optional<int> index = fx::effectToRepeat(fromQ(mnuLastFX->text()));
    if (!index) {
        hideLastEffect();
        return;
    }
    // The handler runs its own frame, still behind the disabled window and the progress window;
    // no event is processed between the end of the wait and the handler.
    scope.endWait();
    callEffectHandler(*index);
}

void frmMain::callEffectHandler(int index) {
    if (index < 0 || index >= fx::kEffectCount)
        return;
    (this->*kHandlers[static_cast<std::size_t>(index)])();
}

bool frmMain::beginEffectWait() {
    if (!mosaicIdle())
        return false;
    effectBusy_ = true;
    return true;
}

void frmMain::endEffectWait() {
    effectBusy_ = false;
}

void frmMain::runTool(fx::EffectFunction tool) {
    if (!mosaicIdle())
        return;
    EffectScope scope(*this, false);
    (void)applyToWorkingPicture(fx::EffectStyle::Scratch, tool);
}

void frmMain::mnuFlipH_Click() {
    runTool(fx::flipHorizontal);
}

void frmMain::mnuFlipV_Click() {
    runTool(fx::flipVertical);
}

void frmMain::mnuInvert_Click() {
    runTool(fx::invertColours);
}

frmFX& frmMain::effectsDialog() {
    if (!loadedEffectsDialog())
        fxDialog_ = new frmFX(*this, services_, state_);
    return *fxDialog_;
}

frmFX* frmMain::loadedEffectsDialog() const {
    return fxDialog_ && !fxDialog_->isUnloaded() ? fxDialog_.data() : nullptr;
}

void frmMain::mnuImgEfx_Click() {
    // While an effect or a mosaic run is under way (the dialog's own OK among them) the
    // thumbnail stays as it is.
    if (!mosaicIdle())
        return;
    frmFX* dialog = nullptr;
    {
        Hourglass hourglass(*this);
        dialog = &effectsDialog();
        dialog->setThumbnail(fx::makeThumbnail(srcPic->box().surface(), fx::kPreviewScratchBack));
    }
    dialog->show();
    dialog->activateWindow();
}

// clang-format off
void frmMain::mnu3DTiles_Click() { runEffect(0); }
void frmMain::mnuBRTiles_Click() { runEffect(1); }
void frmMain::mnuBandW_Click() { runEffect(2); }
void frmMain::mnuBlur_Click() { runEffect(3); }
void frmMain::mnuBoxes_Click() { runEffect(4); }
void frmMain::mnuBright_Click() { runEffect(5); }
void frmMain::mnuCircleWorm_Click() { runEffect(6); }
void frmMain::mnuCircular_Click() { runEffect(7); }
void frmMain::mnuCorruption_Click() { runEffect(8); }
void frmMain::mnuCorruptionB_Click() { runEffect(9); }
void frmMain::mnuDarken_Click() { runEffect(10); }
void frmMain::mnuContrastDown_Click() { runEffect(11); }
void frmMain::mnuEyes_Click() { runEffect(12); }
void frmMain::mnuGrey_Click() { runEffect(13); }
void frmMain::mnuContrastUp_Click() { runEffect(14); }
void frmMain::mnuInfrared_Click() { runEffect(15); }
void frmMain::mnuIEmboss_Click() { runEffect(16); }
void frmMain::mnuInterlace_Click() { runEffect(17); }
void frmMain::mnuIScape_Click() { runEffect(18); }
void frmMain::mnuMosaic_Click() { runEffect(19); }
void frmMain::mnuMTiles_Click() { runEffect(20); }
void frmMain::mnuNeon_Click() { runEffect(21); }
void frmMain::mnuNightCam_Click() { runEffect(22); }
void frmMain::mnuOEmboss_Click() { runEffect(23); }
void frmMain::mnuOutline_Click() { runEffect(24); }
void frmMain::mnuPixelate_Click() { runEffect(25); }
void frmMain::mnuPTiles_Click() { runEffect(26); }
void frmMain::mnuRGBBlue_Click() { runEffect(27); }
void frmMain::mnuRGBGreen_Click() { runEffect(28); }
void frmMain::mnuRGBRed_Click() { runEffect(29); }
void frmMain::mnuSpiral_Click() { runEffect(30); }
void frmMain::mnuStereoG_Click() { runEffect(31); }
void frmMain::mnuTargets_Click() { runEffect(32); }
void frmMain::mnuTV_Click() { runEffect(33); }
void frmMain::mnuTVSnowBW_Click() { runEffect(34); }
void frmMain::mnuTVSnow_Click() { runEffect(35); }
void frmMain::mnuVisor_Click() { runEffect(36); }
void frmMain::mnuXFiles_Click() { runEffect(37); }
// clang-format on

}  // namespace tess
