#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <unistd.h>

#include "platform/qt/QtText.h"
#include "shell/ControlEvents.h"
#include "shell/ProgramVersion.h"
#include "shell/WebCommands.h"

// The Help menu's web pages, the about panel with its credit links, and the "Change" button of the
// options review.

namespace tess {

using qt::toQ;

void frmMain::connectWebAndAbout() {
    connect(mnuOLHelp, &QAction::triggered, this, [this] { mnuOLHelp_Click(); });
    connect(mnuContact, &QAction::triggered, this, [this] { mnuContact_Click(); });
    connect(mnuRBug, &QAction::triggered, this, [this] { mnuRBug_Click(); });
    connect(mnuDonate, &QAction::triggered, this, [this] { mnuDonate_Click(); });
    connect(mnuCUpdate, &QAction::triggered, this, [this] { mnuCUpdate_Click(); });
    connect(mnuHBDR, &QAction::triggered, this, [this] { mnuHBDR_Click(); });
    connect(mnuAboutMe, &QAction::triggered, this, [this] { mnuAboutMe_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command14, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(ControlEvents::watch(Label13, false), &ControlEvents::clicked, this,
            [this] { Label13_Click(); });
    connect(ControlEvents::watch(Label17, false), &ControlEvents::clicked, this,
            [this] { Label17_Click(); });
}

void frmMain::openWebPage(WebCommand command) {
    const InstanceFacts facts{static_cast<std::int64_t>(QCoreApplication::applicationPid()),
                              otherInstanceRunning, static_cast<std::int64_t>(::gettid()),
                              std::string(kProgramTitle)};
    // Without a browser nothing happens, as with any failed launch.
    (void)services_.shell.open(webAddress(command, facts));
}

void frmMain::mnuOLHelp_Click() { openWebPage(WebCommand::Help); }
void frmMain::mnuContact_Click() { openWebPage(WebCommand::Contact); }
void frmMain::mnuRBug_Click() { openWebPage(WebCommand::Bug); }
void frmMain::mnuDonate_Click() { openWebPage(WebCommand::Donate); }
void frmMain::mnuCUpdate_Click() { openWebPage(WebCommand::Update); }
void frmMain::mnuHBDR_Click() { openWebPage(WebCommand::Birthday); }
void frmMain::Label13_Click() { openWebPage(WebCommand::DesignerLink); }
void frmMain::Label17_Click() { openWebPage(WebCommand::DeveloperLink); }

void frmMain::mnuAboutMe_Click() {
    // The rule keeps its length and is centred; the notice takes its span.
    const int length = Line5.x2 - Line5.x1;
    const int x1 = HIDEABOUT->width() / 2 - length / 2;
    Line5.x1 = x1;
    Line5.x2 = x1 + length;
    Label20->setGeometry(Line5.x1, Label20->y(), Line5.x2 - Line5.x1, Label20->height());
    Label5->setText(toQ(versionLabel()));
    Label5->adjustSize();
    lblBetaStat->setText(toQ(betaText()));
    lblBetaStat->adjustSize();
    lblBetaStat->move(Label5->x() + Label5->width() + 4, lblBetaStat->y());
    Command13->move(HIDEABOUT->width() / 2 - Command13->width() / 2, Command13->y());
    parkPanel(HIDESET);
    showPanelOverTabs(HIDEABOUT);
    HIDEABOUT->update();
}

void frmMain::Command13_Click() {
    parkPanel(HIDEABOUT);
}

void frmMain::Command14_Click() {
    SSTab1->setCurrentIndex(1);
}

}  // namespace tess
