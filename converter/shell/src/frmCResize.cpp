#include "shell/frmCResize.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtText.h"
#include "shell/Hourglass.h"
#include "shell/SharedFunctions.h"
#include "shell/StoredSettings.h"
#include "shell/frmMain.h"
#include "workspace/CustomResizeRules.h"

namespace tess {

using qt::fromQ;
using qt::makeButton;
using qt::makeCheck;
using qt::makeEdit;
using qt::makeLabel;
using qt::placed;
using qt::toQ;

namespace {

constexpr int kEnterKey = 13;

// The dialog's picture: a small frame and the larger one it grows into.
Picture resizePicture() {
    Picture p(32, 32, 0x00FFFFFF);
    p.box(0, 0, 31, 31, 0x00808080);
    const Colour ink = 0x00602010;
    p.box(5, 5, 26, 26, 0x00C0A080);
    p.fillBox(6, 17, 15, 26, ink);
    for (int k = 0; k < 6; ++k) {
        p.setPixel(18 + k, 14 - k, ink);
        p.setPixel(19 + k, 14 - k, ink);
    }
    p.fillBox(21, 8, 25, 9, ink);
    p.fillBox(24, 8, 25, 12, ink);
    return p;
}

const char* checkValue(const QCheckBox& box) {
    return box.isChecked() ? "1" : "0";
}

}  // namespace

frmCResize::frmCResize(frmMain& main, ConverterState& state, SettingsStore& settings)
    : QDialog(&main), main_(main), state_(state), settings_(settings) {
    setObjectName("frmCResize");
    setWindowTitle("Custom Resize");
    // Verdana 8.25 pt in the design: the design font, which its geometry holds.
    setFont(qt::designFont());

    Label1 = makeLabel(this, "Label1", "Original Width:", QRect(54, 12, 104, 16));
    Label5 = makeLabel(this, "Label5", {}, QRect(162, 12, 70, 16));
    Label2 = makeLabel(this, "Label2", "Original Height:", QRect(54, 32, 104, 16));
    Label6 = makeLabel(this, "Label6", {}, QRect(162, 32, 70, 16));
    Label3 = makeLabel(this, "Label3", "New Width:", QRect(54, 62, 104, 16));
    Text1 = makeEdit(this, "Text1", QRect(162, 59, 70, 22), "New image width.");
    Label4 = makeLabel(this, "Label4", "New Height:", QRect(54, 90, 104, 16));
    Text2 = makeEdit(this, "Text2", QRect(162, 87, 70, 22), "New image height.");
    Check1 = makeCheck(this, "Check1", "Constrain Proportions", QRect(12, 120, 316, 20),
                       "When selected, the width and height will adhere to a 1:1 ratio.");
    Check2 = makeCheck(this, "Check2", "Resample Image (Slower, but better quality)",
                       QRect(12, 142, 316, 20),
                       "When selected, the resizer will use a Bi-Linear resampling technique to "
                       "achieve better quality.");
    Command1 = makeButton(this, "Command1", "OK", QRect(162, 174, 80, 26),
                          "Click to save changes and unload the custom resize dialog.");
    Command2 = makeButton(this, "Command2", "Cancel", QRect(248, 174, 80, 26),
                          "Click to unload the Custom Resize dialog without applying any changes.");
    Image1 = placed(new qt::PictureBoxWidget(this, 0x00FFFFFF), "Image1", QRect(12, 12, 32, 32));
    Image1->box().setPicture(resizePicture());
    setFixedSize(340, 210);

    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);

    Form_Load();
}

void frmCResize::Form_Load() {
    ApplyTooltipSetting(*this, settings_);
    Check1->setChecked(settings::read(settings_, "Constrain", "1") != "0");
    Check2->setChecked(settings::read(settings_, "Resample", "1") != "0");
    const Picture& picture = main_.srcPic->box().surface();
    Label5->setText(QString::number(picture.width()));
    Label6->setText(QString::number(picture.height()));
    Text1->setText(Label5->text());
    Text2->setText(Label6->text());
    ApplyTransparency(*this, state_);
}

void frmCResize::Check1_Click() {
    settings::write(settings_, "Constrain", checkValue(*Check1));
}

void frmCResize::Check2_Click() {
    settings::write(settings_, "Resample", checkValue(*Check2));
}

bool frmCResize::keepProportion(QLineEdit* edited, const std::string& editedTag, QLineEdit* other,
                                std::string& otherTag, const char* guard,
                                const QLabel* editedOriginal, const QLabel* otherOriginal) {
    if (!Check1->isChecked() || !editedTag.empty())
        return true;
    const ProportionStep step = proportionalText(
        fromQ(edited->text()), fromQ(editedOriginal->text()), fromQ(otherOriginal->text()));
    using Outcome = ProportionStep::Outcome;
    switch (step.outcome) {
        case Outcome::NotNumeric:
        case Outcome::Failed:
            return true;
        case Outcome::Overflow:
            Command1->setEnabled(false);
            otherTag.clear();
            return false;
        case Outcome::Written:
            otherTag = guard;
            // The other box's change handler runs now and finds its guard set.
            other->setText(toQ(step.text));
            otherTag.clear();
            return true;
    }
    return true;
}

void frmCResize::applyOkRule() {
    Command1->setEnabled(resizeOkEnabled(fromQ(Text1->text()), fromQ(Text2->text()),
                                         fromQ(Label5->text()), fromQ(Label6->text())));
}

void frmCResize::Text1_Change() {
    if (keepProportion(Text1, Text1Tag, Text2, Text2Tag, "Text1", Label5, Label6))
        applyOkRule();
}

void frmCResize::Text2_Change() {
    if (keepProportion(Text2, Text2Tag, Text1, Text1Tag, "Text2", Label6, Label5))
        applyOkRule();
}

void frmCResize::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnterKey && Command1->isEnabled()) {
        KeyAscii = 0;
        Command1_Click();
    }
}

void frmCResize::Text2_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnterKey && Command1->isEnabled()) {
        KeyAscii = 0;
        Command1_Click();
    }
}

void frmCResize::Command1_Click() {
    // A held Enter key repeats; presses that reach the closed dialog must not resize again.
    if (!isVisible())
        return;
    {
        Hourglass hourglass(*this);
        const std::optional<PictureSize> size =
            customSize(fromQ(Text1->text()), fromQ(Text2->text()));
        if (size) {
            const bool resample = Check2->isChecked();
            (void)main_.resizeWorkingPicture(
                *size, resample ? ResizeDrawing::Resample : ResizeDrawing::Stretch, resample);
        }
    }
    accept();
}

void frmCResize::Command2_Click() {
    reject();
}

bool frmCResize::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Text1 || watched == Text2) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            int KeyAscii = kEnterKey;
            if (watched == Text1) {
                Text1_KeyPress(KeyAscii);
            } else {
                Text2_KeyPress(KeyAscii);
            }
            if (KeyAscii == 0)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tess
