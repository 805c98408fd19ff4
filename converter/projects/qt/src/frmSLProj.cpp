#include "projects/qt/frmSLProj.h"

#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "platform/Picture.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

// The window's fixed background: a pale blue wash in a dark frame, with a strip of mosaic cells
// along the bottom edge.
const QImage& backgroundImage() {
    static const QImage image = [] {
        constexpr int w = frmSLProj::kClientWidth;
        constexpr int h = frmSLProj::kClientHeight;
        Picture p(w, h, 0x00FFFFFF);
        for (int y = 0; y < h; ++y) {
            const int r = 240 - y * 36 / h;
            const int g = 244 - y * 30 / h;
            const int b = 252 - y * 16 / h;
            p.fillBox(0, y, w - 1, y, static_cast<Colour>(r | g << 8 | b << 16));
        }
        for (int cell = 0; cell * 8 + 1 < w - 1; ++cell) {
            const int r = 90 + (cell * 23) % 150;
            const int g = 110 + (cell * 37) % 120;
            const int b = 230 - (cell * 17) % 110;
            const int x = 1 + cell * 8;
            p.fillBox(x, h - 6, std::min(x + 6, w - 2), h - 3,
                      static_cast<Colour>(r | g << 8 | b << 16));
        }
        p.box(0, 0, w - 1, h - 1, 0x00785040);
        return toQImage(p);
    }();
    return image;
}

QLabel* makeLabel(QWidget* parent, const char* name, int pixelSize, int top, int height) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Paths and names are shown as they are, never as rich text.
    label->setTextFormat(Qt::PlainText);
    label->setFont(qt::designFont(pixelSize));
    label->setGeometry(8, top, frmSLProj::kClientWidth - 16, height);
    return label;
}

}  // namespace

frmSLProj::frmSLProj(const ProgressWindowLinks& links)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      links_(links) {
    setObjectName("frmSLProj");
    setWindowTitle("Please Wait...");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kClientWidth, kClientHeight);

    // The window is owned by the window it reports on, which is disabled while it is shown, and
    // Qt disables owned windows with their owner: the lines keep their colour all the same.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x20, 0x28, 0x48));
    palette.setColor(QPalette::Active, QPalette::WindowText, QColor(0x20, 0x28, 0x48));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0x20, 0x28, 0x48));
    setPalette(palette);

    // Verdana 14.25 pt and 8.25 pt at 96 dots per inch.
    Label1 = makeLabel(this, "Label1", 19, 8, 26);
    Label2 = makeLabel(this, "Label2", 11, 40, 15);
    Label3 = makeLabel(this, "Label3", 11, 58, 15);
    Label1->setText("Label1");
    Label2->setText("Label2");
    Label3->setText("Label3");

    Form_Load();
}

void frmSLProj::Form_Load() {
    if (links_.applyTransparency)
        links_.applyTransparency(*this);
    setCursor(Qt::WaitCursor);
    QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr;
    if (links_.ProgressLock && *links_.ProgressLock && main)
        main->setEnabled(false);
    if (links_.ProgressLockFX && *links_.ProgressLockFX) {
        if (main)
            main->setEnabled(false);
        if (QWidget* fx = links_.effectsDialog ? links_.effectsDialog() : nullptr)
            fx->setEnabled(false);
    }
}

void frmSLProj::Form_Unload() {
    unsetCursor();
    QWidget* main = links_.mainWindow ? links_.mainWindow() : nullptr;
    if (links_.ProgressLock && *links_.ProgressLock && main)
        main->setEnabled(true);
    if (links_.ProgressLockFX && *links_.ProgressLockFX) {
        if (main)
            main->setEnabled(true);
        if (QWidget* fx = links_.effectsDialog ? links_.effectsDialog() : nullptr)
            fx->setEnabled(true);
    }
}

void frmSLProj::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, backgroundImage());
}

void frmSLProj::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace tess
