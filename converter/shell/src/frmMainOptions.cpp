#include "shell/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>
#include <new>

#include "platform/qt/QtText.h"
#include "shell/CheckValue.h"
#include "shell/Hourglass.h"
#include "shell/frmCSS.h"
#include "workspace/Loading.h"

// The mosaic options: the character and page options, the background colour, the output target,
// the custom text file and the priority menu.

namespace tess {

using qt::PictureBoxWidget;
using qt::toQ;

void frmMain::connectOptions() {
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    connect(Combo2, &QComboBox::activated, this, [this](int) { Combo2_Click(); });
    connect(mnuBGColor, &QAction::triggered, this, [this] { mnuBGColor_Click(); });
    connect(Picture5, &PictureBoxWidget::clicked, this, [this] { Picture5_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Check3, &QCheckBox::stateChanged, this, [this] { Check3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(mnuLoadText, &QAction::triggered, this, [this] { mnuLoadText_Click(); });
    connect(mnuNormalP, &QAction::triggered, this, [this] { mnuNormalP_Click(); });
    connect(mnuHighP, &QAction::triggered, this, [this] { mnuHighP_Click(); });
}

void frmMain::selectComboIndex(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    if (combo == Combo1) {
        Combo1_Click();
    } else if (combo == Combo2) {
        Combo2_Click();
    } else if (combo == Combo1b) {
        Combo1b_Click();
    } else if (combo == Combo2b) {
        Combo2b_Click();
    } else if (combo == Combo3b) {
        Combo3b_Click();
    } else if (combo == Combo4b) {
        Combo4b_Click();
    } else if (combo == Combo5b) {
        Combo5b_Click();
    }
}

void frmMain::Combo1_Click() {
    if (Combo1->currentIndex() != 8)
        return;
    if (cssDialog_ && cssDialog_->isVisible())
        return;
    if (state_.NoCSSDialog)
        return;
    QPointer<frmCSS> dialog = new frmCSS(*this, state_, services_.settings);
    cssDialog_ = dialog;
    dialog->exec();
    delete dialog.data();
}

void frmMain::Combo2_Click() {
    const int index = Combo2->currentIndex();
    if (index < 0)
        return;
    if (index == 0) {
        Text3->setReadOnly(false);
        Text3->setEnabled(true);
        Command4->setEnabled(true);
        Combo3->setEnabled(true);
        Label27->setEnabled(true);
        Text3->setFocus();
        Text3->selectAll();
        return;
    }
    if (Text3->isEnabled()) {
        Text3->setEnabled(false);
        Label27->setEnabled(false);
        Command4->setEnabled(false);
        Combo3->setEnabled(false);
    }
    Text3->setReadOnly(false);
}

void frmMain::mnuBGColor_Click() {
    // Its shortcut still reaches it while a run has the Tools menu locked.
    if (!mosaicIdle())
        return;
    if (!CommonDialog1.CancelError)
        CommonDialog1.CancelError = true;
    CommonDialog1.Flags = 1;
    CommonDialog1.ShowColor(services_.dialogs);
    Picture5->box().setBackColor(CommonDialog1.Color);
    Picture5->update();
}

void frmMain::Picture5_Click() {
    mnuBGColor_Click();
}

void frmMain::Command3_Click() {
    CMDialog1.Filter = "HTML Document (*.html;*.htm)|*.htm;*.html|All Files (*.*)|*.*";
    CMDialog1.Flags = 133126;
    CMDialog1.FileName = OutputDlgPath;
    if (!CMDialog1.ShowSave(services_.dialogs))
        return;
    OutputDlgPath = CMDialog1.FileName;
    Text2->setText(toQ(OutputDlgPath));
}

void frmMain::Text2_Change() {
    // The end of a long path, the file name, stays in view.
    Text2->setCursorPosition(static_cast<int>(Text2->text().size()));
}

void frmMain::Check3_Click() {
    CopyToCBUI();
}

void frmMain::CopyToCBUI() {
    const bool toClipboard = checkValue(*Check3) == 1;
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label2, Text2, Command3, Check1, Frame1})
        control->setEnabled(!toClipboard);
}

void frmMain::Command4_Click() {
    // The File menu's shortcut still reaches it while a run has the menu locked.
    if (!mosaicIdle())
        return;
    CMDialog1.Filter = "Text Documents (*.txt)|*.txt|Stripped Rich Text Format (*.rtf)|*.rtf";
    CMDialog1.Flags = 137220;
    CMDialog1.FileName = TextFilePath;
    if (!CMDialog1.ShowOpen(services_.dialogs))
        return;
    TextFilePath = CMDialog1.FileName;
    loadCustomTextFile(TextFilePath);
}

void frmMain::loadCustomTextFile(const std::string& path) {
    Hourglass hourglass(*this);
    Message refusal;
    try {
        TextFileLoad load = loadTextFile(path);
        refusal = std::move(load.refusal);
        if (refusal.text.empty())
            Text3->setUtf8Text(std::move(load.text));
    } catch (const std::bad_alloc&) {
        refusal = customTextMemoryMessage(path);
    }
    hourglass.restore();
    if (!refusal.text.empty())
        showMessage(services_.dialogs, refusal);
}

void frmMain::mnuLoadText_Click() {
    Command4_Click();
}

void frmMain::mnuNormalP_Click() {
    mnuNormalP->setChecked(true);
    mnuHighP->setChecked(false);
}

void frmMain::mnuHighP_Click() {
    mnuNormalP->setChecked(false);
    mnuHighP->setChecked(true);
}

}  // namespace tess
