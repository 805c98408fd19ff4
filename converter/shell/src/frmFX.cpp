#include "shell/frmFX.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <string>

#include "effects/EffectPreview.h"
#include "effects/EffectTable.h"
#include "effects/WaitSeconds.h"
#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtText.h"
#include "shell/EffectsBanner.h"
#include "shell/Hourglass.h"
#include "shell/SharedFunctions.h"
#include "shell/frmMain.h"

namespace tess {

using qt::makeButton;
using qt::makeFrame;
using qt::placed;

frmFX::frmFX(frmMain& main, Services& services, ConverterState& state)
    : QDialog(&main,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(main),
      services_(services),
      state_(state) {
    setObjectName("frmFX");
    setWindowTitle("Effect Selection");
    // Verdana 8.25 pt in the design: the design font, which its geometry holds.
    setFont(qt::designFont());

    Image1 = placed(new qt::PictureBoxWidget(this), "Image1", QRect(0, 0, 524, 59));
    Image1->box().setPicture(EffectsBanner());

    // The frames' titles take a few pixels more here than the design gave them: the list and the
    // preview start 20 pixels down in their frames (16 and 18 in the design), at their sizes.
    Frame2 = makeFrame(this, "Frame2", "Effects", QRect(6, 64, 369, 223));
    List1 = placed(new QListWidget(Frame2), "List1", QRect(10, 20, 349, 199));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const fx::EffectEntry& entry : fx::effectTable())
        List1->addItem(qt::toQ(entry.listText));

    Frame1 = makeFrame(this, "Frame1", "Effect Preview", QRect(380, 64, 139, 127));
    srcPic = placed(new qt::PictureBoxWidget(Frame1, 0x000000), "srcPic", QRect(10, 20, 120, 100));

    Command1 = makeButton(this, "Command1", "OK", QRect(414, 210, 73, 27));
    Command1->setEnabled(false);
    Command2 = makeButton(this, "Command2", "Cancel", QRect(414, 244, 73, 27));

    // Outside the client area, never shown.
    picNoFX = placed(new qt::PictureBoxWidget(this), "picNoFX", QRect(kClientWidth, 0, 120, 100));
    picNoFX->hide();
    flipPic = placed(new qt::PictureBoxWidget(this), "flipPic", QRect(kClientWidth, 0, 120, 100));
    flipPic->hide();

    setFixedSize(kClientWidth, kClientHeight);

    // The selection, not the current row: the list takes a current row of its own when it gets
    // the focus, and that is no choice of the user's.
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { List1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void frmFX::Form_Load() {
    ApplyTransparency(*this, state_);
}

int frmFX::selectedIndex() const {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.front());
}

void frmFX::setThumbnail(const Picture& thumbnail) {
    if (applying_ || unloaded_)
        return;
    flipPic->box().surface() = thumbnail;
    flipPic->box().touch();
    picNoFX->box().setPicture(flipPic->box().image());
    srcPic->box().setPicture(flipPic->box().image());
    srcPic->update();
}

void frmFX::List1_Click() {
    const int index = selectedIndex();
    if (index < 0 || applying_ || unloaded_)
        return;
    chosen_ = index;
    srcPic->box().setPicture(picNoFX->box().pictureOrImage());
    if (!Command1->isEnabled())
        Command1->setEnabled(true);
    {
        Hourglass hourglass(*this);
        Result<Picture> previewed =
            fx::previewEffect(index, srcPic->box().surface(), services_.random, services_.clock);
        if (previewed)
            srcPic->box().setPicture(std::move(*previewed));
    }
    srcPic->Refresh();
}

void frmFX::Command1_Click() {
    if (applying_ || unloaded_)
        return;
    // The entry is taken once: the progress window names the effect that is applied.
    const int index = chosen_;
    if (index < 0 || index >= fx::kEffectCount)
        return;
    // Nothing is applied while the main window runs a mosaic or an effect of its own.
    if (!main_.beginEffectWait())
        return;
    {
        applying_ = true;
        bool waiting = true;
        bool mainDisabled = false;
        bool selfDisabled = false;
        ProgressWindow& progress = main_.progressWindow();
        // However the block is left, the main window's lock, both windows, the progress window
        // and the pointer come back.
        const auto restore = qScopeGuard([&] {
            if (waiting)
                main_.endEffectWait();
            if (mainDisabled)
                main_.setEnabled(true);
            if (selfDisabled)
                setEnabled(true);
            progress.unload();
            applying_ = false;
            unsetCursor();
        });

        setCursor(Qt::WaitCursor);
        hide();
        progress.setLines("Applying Effect",
                          std::string(fx::effectTable()[static_cast<std::size_t>(index)].listText),
                          "Please Wait...");
        main_.setEnabled(false);
        mainDisabled = true;
        setEnabled(false);
        selfDisabled = true;
        progress.show(*this);
        fx::WaitSeconds(0.5, services_.clock, services_.pump);

        // The handler runs its own frame; no event is processed between the wait and it.
        main_.endEffectWait();
        waiting = false;
        main_.callEffectHandler(index);
        state_.ProgressLockFX = false;
    }
    unload();
}

void frmFX::Command2_Click() {
    if (applying_)
        return;
    unload();
}

void frmFX::reject() {
    Command2_Click();
}

void frmFX::closeEvent(QCloseEvent* event) {
    // OK hides the dialog while it applies; a close then would pull it away from under OK.
    if (applying_) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void frmFX::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    hide();
    deleteLater();
}

}  // namespace tess
