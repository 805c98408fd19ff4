#include "shell/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <exception>
#include <optional>

#include "engine/MosaicOptions.h"
#include "engine/PageFormat.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "shell/CommandLine.h"
#include "shell/OutputProposal.h"
#include "shell/ProgramVersion.h"
#include "shell/SharedFunctions.h"
#include "shell/StatusPanel.h"
#include "shell/StoredSettings.h"
#include "shell/WebCommands.h"
#include "workspace/PictureChange.h"
#include "workspace/PictureView.h"

// Start-up and shut-down: the load sequence, the stored options, the close.

namespace tess {

using qt::fromQ;
using qt::PictureBoxWidget;
using qt::toQ;

namespace {

// Runs one step of a sequence whose steps are independent: a step that fails is abandoned and the
// sequence goes on.
template <class Step>
void runStep(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
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

}  // namespace

void frmMain::Form_Load() {
    runStep([&] { SplitFX(); });
    runStep([&] {
        parkPanel(HIDEABOUT);
        parkPanel(HIDESET);
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
    runStep([&] {
        ApplyTooltipSetting(*this, services_.settings);
        // The panel behind the status controls shows their tooltip between them, so it goes with
        // theirs.
        if (TooltipsDisabled(services_.settings))
            statusBack->setToolTip({});
    });
    runStep([&] { setWindowTitle(toQ(" " + page::generatorBanner())); });
    runStep([&] { Text2->setText(toQ(proposeOutputPath(File1, services_.folders.data))); });
    runStep([&] { Text3->setText("tessaryn q4"); });
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
        if (isBirthday(services_.clock.now())) {
            mnuHBDR->setText("Happy &Birthday Orvalt!");
            mnuHBDR->setVisible(true);
        }
    });
    runStep([&] {
        if (const std::optional<std::string> last =
                settings::lastEffectCaption(services_.settings)) {
            mnuLastFX->setText(toQ(*last));
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
        const bool resample = settings::read(services_.settings, "SizeMode1", "1") == "2";
        mnuResample1->setChecked(resample);
        mnuHidResize1->setChecked(!resample);
    });
    runStep([&] {
        const bool resample = settings::read(services_.settings, "SizeMode2", "1") == "2";
        mnuResample2->setChecked(resample);
        mnuResize2->setChecked(!resample);
    });
    runStep([&] {
        selectComboIndex(
            Combo1, settings::listIndex(settings::read(services_.settings, "FontSize", "0"), 8, 0));
    });
    runStep([&] {
        selectComboIndex(
            Combo2, settings::listIndex(settings::read(services_.settings, "Mode", "3"), 7, 3));
        if (Combo2->currentIndex() == 0) {
            Text3->setEnabled(true);
            Command4->setEnabled(true);
            Combo3->setEnabled(true);
        }
    });
    runStep([&] {
        Combo3->setCurrentIndex(
            settings::listIndex(settings::read(services_.settings, "Spacer", "0"), 5, 0));
    });
    runStep([&] { Check1->setChecked(settings::read(services_.settings, "Browser", "1") == "0"); });
    runStep([&] {
        const bool high = settings::read(services_.settings, "Priority", "0") == "1";
        mnuHighP->setChecked(high);
        mnuNormalP->setChecked(!high);
    });
    runStep([&] {
        CommonDialog1.Color =
            settings::backgroundColour(settings::read(services_.settings, "BGColor", "0"));
        Picture5->box().setBackColor(CommonDialog1.Color);
        Picture5->update();
    });
    runStep([&] {
        if (std::optional<std::string> builder =
                settings::registerBuilderTool(services_.settings, services_.folders.program)) {
            mnuTGLBuilder->setVisible(true);
            BuilderPath = std::move(*builder);
        }
    });
    runStep([&] {
        const std::optional<int> index =
            settings::transparencyIndex(settings::read(services_.settings, "TransMode", "0"),
                                        static_cast<int>(mnuTransVal.size()));
        if (index)
            mnuTransVal_Click(*index);
    });
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::Form_Activate() {
    state_.MainActive = true;
}

void frmMain::Form_Unload() {
    runStep([&] { SaveWindowState(*this); });
    runStep([&] {
        settings::storeLastEffect(services_.settings, fromQ(mnuLastFX->text()),
                                  mnuLastFX->isVisible());
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

}  // namespace tess
