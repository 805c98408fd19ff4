#include "shell/frmCSS.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/qt/Controls.h"
#include "platform/qt/QtText.h"
#include "shell/SharedFunctions.h"
#include "shell/frmMain.h"

namespace tess {

namespace {

constexpr int kSpinMax = 100;

// The dialog's picture: a large and a small letter on a page.
Picture letterPicture() {
    Picture p(32, 32, 0x00FFFFFF);
    p.box(0, 0, 31, 31, 0x00808080);
    const Colour ink = 0x00602010;
    // "A": two slanted strokes and a bar.
    for (int y = 6; y <= 25; ++y) {
        const int half = (y - 6) / 2;
        p.setPixel(10 - half, y, ink);
        p.setPixel(11 - half, y, ink);
        p.setPixel(10 + half, y, ink);
        p.setPixel(11 + half, y, ink);
    }
    p.fillBox(6, 18, 15, 19, ink);
    // "a": a small bowl and stem.
    p.circle(23, 22, 3, ink);
    p.fillBox(26, 18, 27, 25, ink);
    return p;
}

}  // namespace

frmCSS::frmCSS(frmMain& main, ConverterState& state, const SettingsStore& settings)
    : QDialog(&main), main_(main), state_(state), settings_(settings) {
    setObjectName("frmCSS");
    setWindowTitle("Custom CSS Font Size Selection");
    setFont(main.font());

    Label1 = new QLabel("Please select a custom CSS font size below...", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 10, 290, 15);
    Image1 = new qt::PictureBoxWidget(this, 0x00FFFFFF);
    Image1->setObjectName("Image1");
    Image1->box().setPicture(letterPicture());
    Image1->setGeometry(12, 38, 32, 32);
    Label2 = new QLabel("Font-Size:", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(54, 46, 62, 15);
    Text1 = new QLineEdit("60 %", this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setGeometry(118, 42, 58, 22);
    Text1->setToolTip("New custom CSS font size.");
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName("VScroll1");
    // Qt counts from the top, so the bar holds 100 minus the size: the up arrow adds one.
    VScroll1->setRange(0, kSpinMax);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setGeometry(178, 40, 16, 26);
    Option1 = new QRadioButton("Percent", this);
    Option1->setObjectName("Option1");
    Option1->setToolTip("Use Percent mode.");
    Option1->setGeometry(208, 34, 90, 20);
    Option2 = new QRadioButton("Pixels", this);
    Option2->setObjectName("Option2");
    Option2->setToolTip("Use Pixel mode.");
    Option2->setGeometry(208, 56, 90, 20);
    Option3 = new QRadioButton("Point", this);
    Option3->setObjectName("Option3");
    Option3->setToolTip("Use Point mode.");
    Option3->setGeometry(208, 78, 90, 20);
    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setToolTip("Click to save custom CSS font settings and close the dialog.");
    Command1->setGeometry(128, 110, 80, 26);
    Command1->setAutoDefault(false);
    Command2 = new QPushButton("Cancel", this);
    Command2->setObjectName("Command2");
    Command2->setToolTip("Click to unload the Custom CSS dialog without changing the settings.");
    Command2->setGeometry(214, 110, 80, 26);
    Command2->setAutoDefault(false);
    setFixedSize(304, 146);
    setWindowTitle(qt::fittedTitle(*this, "Custom CSS Font Size Selection"));
    setSpinValue(60);

    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
    connect(Option3, &QRadioButton::clicked, this, [this] { Option3_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Text1->installEventFilter(this);
    VScroll1->installEventFilter(this);

    Form_Load();
}

int frmCSS::spinValue() const {
    return kSpinMax - VScroll1->value();
}

void frmCSS::setSpinValue(int value) {
    VScroll1->setValue(kSpinMax - value);
}

void frmCSS::showSize() {
    Text1->setText(QString::number(spinValue()) + qt::toQ(state_.CSSUnit));
}

void frmCSS::Form_Load() {
    ApplyTooltipSetting(*this, settings_);
    Text1->setText(QString::number(state_.CSSSize) + qt::toQ(state_.CSSUnit));
    setSpinValue(state_.CSSSize);
    if (state_.CSSUnit == "%") {
        Option1->setChecked(true);
        Option1_Click();
    } else if (state_.CSSUnit == "px") {
        Option2->setChecked(true);
        Option2_Click();
    } else if (state_.CSSUnit == "pt") {
        Option3->setChecked(true);
        Option3_Click();
    }
    ApplyTransparency(*this, state_);
}

void frmCSS::VScroll1_Change() {
    showSize();
}

void frmCSS::Option1_Click() {
    state_.CSSUnit = "%";
    showSize();
}

void frmCSS::Option2_Click() {
    state_.CSSUnit = "px";
    showSize();
}

void frmCSS::Option3_Click() {
    state_.CSSUnit = "pt";
    showSize();
}

void frmCSS::Text1_GotFocus() {
    VScroll1->setFocus();
}

void frmCSS::Command1_Click() {
    // A held Enter key repeats; the presses that reach the closed dialog would apply again and,
    // with the dialog no longer visible, make the list open a new one.
    if (!isVisible())
        return;
    QComboBox* list = main_.Combo1;
    list->removeItem(list->count() - 1);
    list->addItem("CSS - Custom... (" + QString::number(spinValue()) + qt::toQ(state_.CSSUnit) +
                  ")");
    main_.selectComboIndex(list, list->count() - 1);
    state_.CSSSize = static_cast<std::int16_t>(spinValue());
    accept();
}

void frmCSS::Command2_Click() {
    reject();
}

bool frmCSS::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn) {
        Text1_GotFocus();
        return false;
    }
    if ((watched == Text1 || watched == VScroll1) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tess
