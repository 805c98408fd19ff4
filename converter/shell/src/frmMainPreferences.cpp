#include "shell/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <string_view>

#include "engine/MosaicOptions.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/QtText.h"
#include "shell/CheckValue.h"
#include "shell/ProgramVersion.h"
#include "shell/StoredSettings.h"
#include "shell/VisualStyle.h"
#include "workspace/Message.h"

// The preferences panel: the start-up settings and the defaults of the mosaic options, kept in the
// settings store; Apply offers the restart that makes them take effect. Also the tab control's
// option summary.

namespace tess {

using qt::PictureBoxWidget;
using qt::toQ;

namespace {

// The stored defaults cannot be the custom CSS size or "None" as the spacer.
constexpr std::array<std::string_view, 8> kDefaultFontSizes = {
    "-1", "-2", "CSS - 60%", "CSS - 50%", "CSS - 40%", "CSS - 30%", "CSS - 20%", "CSS - 10%"};
constexpr std::array<std::string_view, 5> kDefaultSpacers = {"+", "^", "-", "~", "_"};

template <class Texts>
void fill(QComboBox* combo, const Texts& texts) {
    for (std::string_view text : texts)
        combo->addItem(toQ(text));
}

// A stored check value: "0" or "1" as they are, anything else ticked.
void setStoredCheck(QCheckBox* box, const std::string& stored) {
    box->setChecked(stored != "0");
}

}  // namespace

void frmMain::connectPreferences() {
    connect(mnuSettings, &QAction::triggered, this, [this] { mnuSettings_Click(); });
    connect(Command1b, &QPushButton::clicked, this, [this] { Command1b_Click(); });
    connect(Command2b, &QPushButton::clicked, this, [this] { Command2b_Click(); });
    connect(Command3b, &QPushButton::clicked, this, [this] { Command3b_Click(); });
    connect(Check1b, &QCheckBox::toggled, this, [this] { Check1b_Click(); });
    connect(Check2b, &QCheckBox::toggled, this, [this] { Check2b_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Combo1b, &QComboBox::activated, this, [this](int) { Combo1b_Click(); });
    connect(Combo2b, &QComboBox::activated, this, [this](int) { Combo2b_Click(); });
    connect(Combo3b, &QComboBox::activated, this, [this](int) { Combo3b_Click(); });
    connect(Combo4b, &QComboBox::activated, this, [this](int) { Combo4b_Click(); });
    connect(Combo5b, &QComboBox::activated, this, [this](int) { Combo5b_Click(); });
    connect(Picture3b, &PictureBoxWidget::clicked, this, [this] { Picture3b_Click(); });
    connect(Picture3b, &PictureBoxWidget::keyPressed, this,
            [this](QKeyEvent* event) { Picture3b_KeyDown(event->key(), 0); });
    connect(Picture3b, &PictureBoxWidget::focusEntered, this, [this] { Picture3b_GotFocus(); });
    connect(Picture3b, &PictureBoxWidget::focusLeft, this, [this] { Picture3b_LostFocus(); });
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int) { SSTab1_Click(0); });
}

void frmMain::parkPanel(PictureBoxWidget* panel) {
    panel->move(panel->x(), kClientHeight + kParkedOffset);
    panel->hide();
}

void frmMain::showPanelOverTabs(PictureBoxWidget* panel) {
    panel->setGeometry(SSTab1->geometry());
    panel->raise();
    panel->show();
}

void frmMain::mnuSettings_Click() {
    Command3b_Click();
    parkPanel(HIDEABOUT);
    showPanelOverTabs(HIDESET);
}

void frmMain::Command3b_Click() {
    parkPanel(HIDESET);
    OptionsLoaded = false;
    for (QComboBox* combo : {Combo1b, Combo2b, Combo3b, Combo4b, Combo5b})
        combo->clear();
    Command1b->setEnabled(false);

    setStoredCheck(Check1b, settings::read(services_.settings, "Splash", "1"));
    Check1b->setEnabled(true);
    Check2b->setEnabled(true);
    setStoredCheck(Check2b, settings::read(services_.settings, "Tooltips", "1"));
    setStoredCheck(Check2, settings::read(services_.settings, "DisplayMode", "1"));

    fill(Combo1b, kDefaultFontSizes);
    selectComboIndex(
        Combo1b, settings::listIndex(settings::read(services_.settings, "FontSize", "0"), 8, 0));
    fill(Combo2b, MosaicOptions::kModeTexts);
    selectComboIndex(Combo2b,
                     settings::listIndex(settings::read(services_.settings, "Mode", "3"), 7, 3));
    if (Combo2b->currentIndex() == 0)
        Combo3b->setEnabled(true);
    fill(Combo3b, kDefaultSpacers);
    selectComboIndex(Combo3b,
                     settings::listIndex(settings::read(services_.settings, "Spacer", "0"), 5, 0));
    Combo4b->addItems({"Yes", "No"});
    selectComboIndex(Combo4b,
                     settings::listIndex(settings::read(services_.settings, "Browser", "1"), 2, 1));
    Combo5b->addItems({"Normal", "High"});
    selectComboIndex(Combo5b, 0);
    selectComboIndex(
        Combo5b, settings::listIndex(settings::read(services_.settings, "Priority", "0"), 2, 0));

    Picture3b->box().setBackColor(
        settings::backgroundColour(settings::read(services_.settings, "BGColor", "0")));
    Picture3b->update();
    OptionsLoaded = true;
    HIDESET->hide();
}

void frmMain::markPreferencesChanged() {
    if (!OptionsLoaded)
        return;
    Command1b->setEnabled(true);
    Command3b->setEnabled(true);
}

void frmMain::Check1b_Click() {
    markPreferencesChanged();
}
void frmMain::Check2b_Click() {
    markPreferencesChanged();
}
void frmMain::Check2_Click() {
    markPreferencesChanged();
}
void frmMain::Combo1b_Click() {
    markPreferencesChanged();
}
void frmMain::Combo3b_Click() {
    markPreferencesChanged();
}
void frmMain::Combo4b_Click() {
    markPreferencesChanged();
}
void frmMain::Combo5b_Click() {
    markPreferencesChanged();
}

void frmMain::Combo2b_Click() {
    const int mode = Combo2b->currentIndex();
    if (mode == 0 || mode == 6) {
        Combo3b->setEnabled(true);
    } else if (mode > 0) {
        Combo3b->setEnabled(false);
    }
    markPreferencesChanged();
}

void frmMain::Command1b_Click() {
    auto save = [&](const char* key, int value) {
        services_.settings.save(std::string(settings::kApp), std::string(settings::kSection), key,
                                std::to_string(value));
    };
    save("Splash", checkValue(*Check1b));
    save("Tooltips", checkValue(*Check2b));
    save("DisplayMode", checkValue(*Check2));
    // A folder that cannot be written keeps the old look; the user is told, and Apply goes on.
    if (const Status styled = WriteXPManifest(Check2->isChecked(), services_.folders.data); !styled)
        showMessage(services_.dialogs,
                    {"The visual style could not be changed.\r\n" + styled.error().reason,
                     mb::Exclamation, "XP Buttons"});
    save("FontSize", Combo1b->currentIndex());
    save("Mode", Combo2b->currentIndex());
    save("Spacer", Combo3b->currentIndex());
    save("Browser", Combo4b->currentIndex());
    save("Priority", Combo5b->currentIndex());
    save("BGColor", static_cast<int>(Picture3b->box().backColor()));

    OptionsLoaded = true;
    Command1b->setEnabled(false);
    QPalette red = Label8b->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label8b->setPalette(red);

    const std::string program = joinPath(services_.folders.program, kProgramFileName);
    if (FileExists(program)) {
        const int answer = services_.dialogs.msgBox(
            "You must restart tessaryn q4 for changes to take affect!\r\n\r\n"
            "Would you like to restart tessaryn q4 now?",
            mb::YesNo | mb::Question | mb::DefaultButton2, "Restart tessaryn q4 now?");
        if (answer == mb::Yes) {
            // Everything is written by now: the new instance starts last.
            if (services_.shell.start(program, "").ok()) {
                close();
                return;
            }
            services_.dialogs.msgBox("You must restart tessaryn q4 for changes to take affect!",
                                     mb::OKOnly | mb::Information, "tessaryn q4");
        }
    } else {
        services_.dialogs.msgBox("You must restart tessaryn q4 for changes to take affect!",
                                 mb::OKOnly | mb::Information, "tessaryn q4");
    }
    parkPanel(HIDESET);
}

void frmMain::Command2b_Click() {
    Check1b->setChecked(true);
    Check2b->setChecked(true);
    if (IsWinXPOrLater())
        Check2->setChecked(true);
    selectComboIndex(Combo4b, 1);
    selectComboIndex(Combo1b, 0);
    selectComboIndex(Combo2b, 3);
    selectComboIndex(Combo3b, 0);
    selectComboIndex(Combo5b, 0);
    Picture3b->box().setBackColor(0);
    Picture3b->update();
    Command1b->setEnabled(true);
    Command3b->setEnabled(true);
}

void frmMain::Picture3b_Click() {
    CommonDialog1b.Flags = 1;
    if (!CommonDialog1b.ShowColor(services_.dialogs))
        return;
    Picture3b->box().setBackColor(CommonDialog1b.Color);
    Picture3b->update();
    if (OptionsLoaded) {
        Command1b->setEnabled(true);
        Command3b->setEnabled(true);
    }
}

void frmMain::Picture3b_KeyDown(int KeyCode, int /*Shift*/) {
    if (KeyCode == Qt::Key_Return || KeyCode == Qt::Key_Enter || KeyCode == Qt::Key_Space)
        Picture3b_Click();
}

void frmMain::Picture3b_GotFocus() {
    Shape1->setGeometry(Picture3b->x() - 2, Picture3b->y() - 2, Picture3b->width() + 3,
                        Picture3b->height() + 3);
    Shape1->show();
}

void frmMain::Picture3b_LostFocus() {
    Shape1->hide();
}

void frmMain::SSTab1_Click(int /*PreviousTab*/) {
    QPalette black = Label8b->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label8b->setPalette(black);
    Label29->setText("Font Size: " + Combo1->currentText() + ", Spacer: " + Combo3->currentText() +
                     ", Mode: " + Combo2->currentText());
    Label9->setText("Page Caption: " + Text4->text());
}

}  // namespace tess
