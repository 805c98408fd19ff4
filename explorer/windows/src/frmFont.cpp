#include "windows/frmFont.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <array>

#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"
#include "windows/ExplorerArt.h"

namespace tess::explorer {

using qt::fromQ;
using qt::makeButton;
using qt::makeLabel;
using qt::placed;
using qt::toQ;

namespace {

constexpr int kSpinMax = 100;
constexpr int kPaneWidth = 310;
constexpr int kPaneHeight = 170;

constexpr std::array<const char*, 9> kSizes = {"-1",        "-2",        "CSS - 60%",
                                               "CSS - 50%", "CSS - 40%", "CSS - 30%",
                                               "CSS - 20%", "CSS - 10%", "CSS - Custom..."};

bool isEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

frmFont::frmFont(QWidget* owner, ExplorerState& state, const std::string& fileName,
                 const std::string& fontSize)
    : QDialog(owner), state_(state), fileName_(fileName), fontSize_(fontSize) {
    setObjectName("frmFont");
    setWindowTitle("Modify Selected Font Size");
    // A dialog takes no font from its owner by itself; without an owner, the design font.
    setFont(owner ? owner->font() : qt::designFont());

    const QRect pane(0, 0, kPaneWidth, kPaneHeight);
    Picture1 = placed(new QWidget(this), "Picture1", pane);
    Image1 = placed(new qt::PictureBoxWidget(Picture1, 0x00FFFFFF), "Image1", {0, 0, 310, 59});
    Label1 = makeLabel(Picture1, "Label1", "Please select the font size for \"%s\" below...",
                       {8, 64, 294, 30});
    Label1->setWordWrap(true);
    Label2 = makeLabel(Picture1, "Label2", "Current font size: %s", {8, 98, 294, 15});
    Label3 = makeLabel(Picture1, "Label3", "New font size:", {8, 120, 96, 15});
    Combo1 = placed(new QComboBox(Picture1), "Combo1", {106, 116, 196, 22});
    Command1 = makeButton(Picture1, "Command1", "OK", {140, 142, 78, 24});
    Command2 = makeButton(Picture1, "Command2", "Cancel", {224, 142, 78, 24});

    Picture2 = placed(new QWidget(this), "Picture2", pane);
    Image1b = placed(new qt::PictureBoxWidget(Picture2, 0x00FFFFFF), "Image1b", {0, 0, 310, 59});
    Label1b = makeLabel(Picture2, "Label1b", "Please select a custom CSS font size below...",
                        {8, 64, 294, 15});
    Label2b = makeLabel(Picture2, "Label2b", "Font-Size:", {8, 96, 62, 15});
    Text1b = placed(new QLineEdit("60%", Picture2), "Text1b", {72, 92, 58, 22});
    Text1b->setReadOnly(true);
    VScroll1b = placed(new QScrollBar(Qt::Vertical, Picture2), "VScroll1b", {132, 90, 16, 26});
    // Qt counts from the top, so the bar holds 100 minus the size: the up arrow adds one.
    VScroll1b->setRange(0, kSpinMax);
    VScroll1b->setSingleStep(1);
    VScroll1b->setPageStep(1);
    VScroll1b->setFocusPolicy(Qt::StrongFocus);
    Option1b = placed(new QRadioButton("Percent", Picture2), "Option1b", {172, 82, 120, 18});
    Option2b = placed(new QRadioButton("Pixels", Picture2), "Option2b", {172, 102, 120, 18});
    Option3b = placed(new QRadioButton("Point", Picture2), "Option3b", {172, 122, 120, 18});
    Option1b->setChecked(true);
    Command1b = makeButton(Picture2, "Command1b", "OK", {140, 142, 78, 24});
    Command2b = makeButton(Picture2, "Command2b", "Cancel", {224, 142, 78, 24});
    Picture2->hide();
    Picture2->setEnabled(false);
    setFixedSize(kPaneWidth, kPaneHeight);
    setSpinValue(60);

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1b, &QPushButton::clicked, this, [this] { Command1b_Click(); });
    connect(Command2b, &QPushButton::clicked, this, [this] { Command2b_Click(); });
    connect(Option1b, &QRadioButton::clicked, this, [this] { Option1b_Click(); });
    connect(Option2b, &QRadioButton::clicked, this, [this] { Option2b_Click(); });
    connect(Option3b, &QRadioButton::clicked, this, [this] { Option3b_Click(); });
    connect(VScroll1b, &QScrollBar::valueChanged, this, [this] { VScroll1b_Change(); });
    Combo1->installEventFilter(this);
    Text1b->installEventFilter(this);
    VScroll1b->installEventFilter(this);

    Form_Load();
}

int frmFont::spinValue() const {
    return kSpinMax - VScroll1b->value();
}

void frmFont::setSpinValue(int value) {
    VScroll1b->setValue(kSpinMax - value);
}

void frmFont::showSpin() {
    Text1b->setText(QString::number(spinValue()) + toQ(state_.CSSUnit));
}

void frmFont::Form_Load() {
    Image1->box().setPicture(fromQImage(resourceBitmap("XP_MFS"), 0x00FFFFFF));
    Image1b->box().setPicture(fromQImage(resourceBitmap("XP_CSS"), 0x00FFFFFF));
    Label1->setText(Label1->text().replace("%s", toQ(fileName_)));
    Label2->setText(Label2->text().replace("%s", toQ(fontSize_)));
    state_.CSSSize = 60;
    state_.CSSUnit = "%";
    Combo1->clear();
    for (const char* size : kSizes)
        Combo1->addItem(size);
    Combo1->setCurrentIndex(0);
}

void frmFont::Combo1_Click() {
    if (Combo1->currentIndex() != 8 || !Picture2->isHidden())
        return;
    Picture1->hide();
    Picture1->setEnabled(false);
    Text1b->setText(QString::number(state_.CSSSize) + toQ(state_.CSSUnit));
    setSpinValue(state_.CSSSize);
    if (state_.CSSUnit == "px") {
        Option2b->setChecked(true);
    } else if (state_.CSSUnit == "pt") {
        Option3b->setChecked(true);
    } else if (state_.CSSUnit == "%") {
        Option1b->setChecked(true);
    }
    Picture2->show();
    Picture2->setEnabled(true);
    VScroll1b->setFocus();
}

bool frmFont::Combo1_KeyPress(int KeyAscii) {
    if (KeyAscii != 13)
        return false;
    Command1_Click();
    return true;
}

void frmFont::Command1_Click() {
    // A held Enter key repeats; a press that reaches the closed dialog must not choose again.
    if (okPressed_)
        return;
    const std::string entry = fromQ(Combo1->currentText());
    for (std::size_t i = 0; i + 1 < kSizes.size(); ++i) {
        if (entry == kSizes[i]) {
            rowText_ = entry;
            break;
        }
    }
    if (!rowText_ && entry.compare(0, 12, "CSS - Custom") == 0)
        rowText_ = "CSS - " + std::to_string(state_.CSSSize) + state_.CSSUnit;
    okPressed_ = true;
    accept();
}

void frmFont::Command2_Click() {
    reject();
}

void frmFont::Command1b_Click() {
    if (Picture2->isHidden())
        return;
    Combo1->removeItem(Combo1->count() - 1);
    Combo1->addItem("CSS - Custom... (" + QString::number(spinValue()) + toQ(state_.CSSUnit) + ")");
    Combo1->setCurrentIndex(Combo1->count() - 1);
    Combo1_Click();
    state_.CSSSize = static_cast<std::int16_t>(spinValue());
    Command2b_Click();
}

void frmFont::Command2b_Click() {
    Picture2->setEnabled(false);
    Picture1->setEnabled(true);
    Picture2->hide();
    Picture1->show();
    Combo1->setFocus();
}

void frmFont::Option1b_Click() {
    state_.CSSUnit = "%";
    showSpin();
}

void frmFont::Option2b_Click() {
    state_.CSSUnit = "px";
    showSpin();
}

void frmFont::Option3b_Click() {
    state_.CSSUnit = "pt";
    showSpin();
}

void frmFont::VScroll1b_Change() {
    showSpin();
}

bool frmFont::VScroll1b_KeyPress(int KeyAscii) {
    if (KeyAscii != 13)
        return false;
    Command1b_Click();
    return true;
}

bool frmFont::Text1b_KeyPress(int KeyAscii) {
    return VScroll1b_KeyPress(KeyAscii);
}

void frmFont::Text1b_GotFocus() {
    VScroll1b->setFocus();
}

bool frmFont::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1b && event->type() == QEvent::FocusIn) {
        Text1b_GotFocus();
        return false;
    }
    if (isEnter(event)) {
        if (watched == Combo1 && Combo1_KeyPress(13))
            return true;
        if (watched == VScroll1b && VScroll1b_KeyPress(13))
            return true;
        if (watched == Text1b && Text1b_KeyPress(13))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmFont::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tess::explorer
