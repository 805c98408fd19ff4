#include "shell/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <initializer_list>
#include <new>
#include <optional>

#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "platform/qt/QtText.h"
#include "shell/CheckValue.h"
#include "shell/MosaicRunHooks.h"
#include "shell/MosaicRunTexts.h"
#include "shell/StatusPanel.h"
#include "workspace/Message.h"
#include "workspace/PictureChange.h"

// The mosaic run: its input lock, the status panel and its bar, cancel and close during a run,
// and the size preview.

namespace tess {

using qt::fromQ;
using qt::PictureBoxWidget;
using qt::toQ;

namespace {

constexpr const char* kCancelCaption = "Cancel";
constexpr const char* kStopCaption = "Stop!";

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
    connect(picStatus, &PictureBoxWidget::paintRequested, this, [this] { picStatus_Paint(); });
    connect(statusBack, &PictureBoxWidget::paintRequested, this, [this] { Form_Paint(); });
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
    if (!mosaicIdle())
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

MosaicOptions frmMain::mosaicOptionsFromControls() const {
    MosaicOptions options;
    options.Mode = static_cast<std::int16_t>(Combo2->currentIndex());
    // The run reads the text as it stands, each line end as it came in.
    options.CustomText = Text3->utf8Text();
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
    return options;
}

void frmMain::runMosaicFromControls() {
    // Read before anything of the run shows: a custom text there is not the memory to read is
    // told, and everything stays as it was.
    std::optional<MosaicOptions> read;
    try {
        read = mosaicOptionsFromControls();
    } catch (const std::bad_alloc&) {
        Command2->setText(toQ(kIdleCaption));
        showMessage(services_.dialogs,
                    runFailureMessage(Error{errc::OutOfMemory,
                                            "There is not enough memory to read the custom text."},
                                      checkValue(*Check3) == 1));
        return;
    }
    const MosaicOptions options = std::move(*read);
    read.reset();

    statusBack->show();
    Lite3D(*statusBack, *picStatHandler, 2);
    statusBack->update();

    const Colour swatch = Picture3b->box().backColor();
    fitBox(*picStatus);
    picStatus->box().cls();
    picStatus->update();
    disableForRun();
    setCursor(Qt::WaitCursor);

    Label6->clear();
    // Every input that could change the picture is locked until the run ends.
    const Picture& picture = srcPic->box().surface();
    StatusScaleWidth = picture.width() * picture.height();
    ProgressPos = 0;

    const tess::SpeedLog speedLog(services_.folders.data, SpeedLog);
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
    // The clipboard reports no failure of its own: a page it did not take leaves it without text.
    // Only the presence of text is asked: fetching it would convert the whole page again.
    if (result && options.toClipboard() && !result->clipboardText.empty() &&
        !services_.clipboard.hasText()) {
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
            (void)services_.shell.openFile(options.OutputPath);
        if (options.toClipboard())
            showMessage(services_.dialogs, clipboardRunMessage(RunStatus::Complete));
        CopyToCBUI();
    }
    if (result->speedLogError)
        showMessage(services_.dialogs, speedLogFailureMessage(*result->speedLogError));
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

void frmMain::mnuFSP_Click() {
    // Its shortcut still reaches it while a run has the Tools menu locked.
    if (!mosaicIdle())
        return;
    const Picture& picture = srcPic->box().surface();
    showMessage(services_.dialogs,
                sizePreviewMessage(picture.width(), picture.height(), fromQ(Text4->text()),
                                   fromQ(QLocale().groupSeparator())));
}

void frmMain::closeEvent(QCloseEvent* event) {
    // During an effect's wait the close is refused outright: nothing closes the window once the
    // effect is done, and a request kept until then would close it at the end of the next run.
    if (effectBusy_) {
        event->ignore();
        return;
    }
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
