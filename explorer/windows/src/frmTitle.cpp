#include "windows/frmTitle.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "explorer/PageRewriter.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"
#include "windows/ExplorerArt.h"

namespace tess::explorer {

using qt::fromQ;
using qt::toQ;

namespace {

constexpr const char* kPromptDesign = "Please create or modify the title for \"%s\" below...";

constexpr int kWidth = 310;
constexpr int kHeight = 252;
constexpr int kReasonTop = 186;
constexpr int kReasonHeight = 28;
constexpr int kButtonsTop = 218;

}  // namespace

frmTitle::frmTitle(QWidget* owner, const std::string& fileName, const std::string& currentTitle)
    : QDialog(owner) {
    setObjectName("frmTitle");
    setWindowTitle("Modify Mosaic Title");
    // A dialog takes no font from its owner by itself; without an owner, the design font.
    setFont(owner ? owner->font() : qt::designFont());

    Image1 = new qt::PictureBoxWidget(this, 0x00FFFFFF);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 310, 59);
    Label1 = new QLabel(kPromptDesign, this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setGeometry(8, 64, 294, 30);
    Label2 = new QLabel("Current title:", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(8, 100, 294, 15);
    Text2 = new QLineEdit(this);
    Text2->setObjectName("Text2");
    Text2->setReadOnly(true);
    Text2->setGeometry(8, 116, 294, 22);
    Label3 = new QLabel("New title:", this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(8, 144, 294, 15);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setGeometry(8, 160, 294, 22);
    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    Label4->setTextFormat(Qt::PlainText);
    Label4->setWordWrap(true);
    Label4->setGeometry(8, kReasonTop, 294, kReasonHeight);
    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setAutoDefault(false);
    Command1->setEnabled(false);
    Command1->setGeometry(140, kButtonsTop, 78, 26);
    Command2 = new QPushButton("Cancel", this);
    Command2->setObjectName("Command2");
    Command2->setAutoDefault(false);
    Command2->setGeometry(224, kButtonsTop, 78, 26);
    setFixedSize(kWidth, kHeight);

    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Text1->installEventFilter(this);

    Form_Load();
    // The opening fills both boxes from the row and names its file in the prompt.
    Text2->setText(toQ(currentTitle));
    Text1->setText(toQ(currentTitle));
    Text1->setSelection(0, static_cast<int>(Text1->text().size()));
    Label1->setText(Label1->text().replace("%s", toQ(fileName)));
    Text1_Change();
    // Typing goes into the new title, replacing it; the current title is only there to be read.
    Text1->setFocus(Qt::OtherFocusReason);
}

void frmTitle::Form_Load() {
    Image1->box().setPicture(fromQImage(resourceBitmap("XP_MMT"), 0x00FFFFFF));
}

void frmTitle::Text1_Change() {
    // A title that would break its page (a line break, "</title>") cannot be set.
    const std::optional<std::string> fault = titleFault(fromQ(Text1->text()));
    Command1->setToolTip(fault ? toQ(*fault) : QString());
    // Why OK is off, where the user looks: the title cannot go into the page as typed.
    QString why = fault ? toQ(*fault) + "." : QString();
    if (!why.isEmpty())
        why[0] = why[0].toUpper();
    Label4->setText(why);
    fitReason();
    Command1->setEnabled(!Text1->text().isEmpty() && Text1->text() != Text2->text() && !fault);
}

void frmTitle::fitReason() {
    // The reason quotes the characters the page cannot hold, which the design font mostly lacks:
    // the face that draws them may need taller lines than the design gave. The reason then takes
    // the room it needs, first down to the buttons, beyond that moving them and the dialog's foot.
    const int need = std::max(kReasonHeight, Label4->heightForWidth(Label4->width()));
    const int below = std::max(0, kReasonTop + need - kButtonsTop);
    Label4->resize(Label4->width(), need);
    Command1->move(Command1->x(), kButtonsTop + below);
    Command2->move(Command2->x(), kButtonsTop + below);
    setFixedSize(kWidth, kHeight + below);
}

bool frmTitle::Text1_KeyPress(int KeyAscii) {
    if (KeyAscii == 13 && Command1->isEnabled()) {
        Command1_Click();
        return true;
    }
    return false;
}

void frmTitle::Command1_Click() {
    if (!Command1->isEnabled())
        return;
    newTitle_ = fromQ(Text1->text());
    accept();
}

void frmTitle::Command2_Click() {
    reject();
}

bool frmTitle::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Text1_KeyPress(13))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tess::explorer
