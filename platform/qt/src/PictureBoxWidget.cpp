#include "platform/qt/PictureBoxWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <bit>

#include "platform/SystemColours.h"
#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

// Picture pixels are 0x00BBGGRR words: on a little-endian machine their bytes read R, G, B, X,
// which is QImage's RGBX8888, so the surface is painted without a copy.
static_assert(std::endian::native == std::endian::little);

int buttonsCode(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

QColor toQColor(Colour c) {
    const Colour plain = SystemColours::resolve(c);
    return QColor(redOf(plain), greenOf(plain), blueOf(plain));
}

}  // namespace

PictureBoxWidget::PictureBoxWidget(QWidget* parent, Colour backColor, Colour foreColor)
    : QWidget(parent), box_(backColor, foreColor) {
    // Every pixel is painted by paintEvent.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBoxWidget::Refresh() {
    repaint();
}

QSize PictureBoxWidget::sizeHint() const {
    return QSize(box_.width(), box_.height());
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    emit paintRequested();
    QPainter painter(this);
    const Picture& surface = box_.surface();
    const QRect shown(0, 0, surface.width(), surface.height());
    if (!surface.empty()) {
        const QImage image(reinterpret_cast<const uchar*>(surface.row(0)), surface.width(),
                           surface.height(), static_cast<qsizetype>(surface.width()) * 4,
                           QImage::Format_RGBX8888);
        painter.drawImage(0, 0, image);
    }
    const QRegion rest = QRegion(rect()).subtracted(shown);
    if (!rest.isEmpty()) {
        const QColor back = toQColor(box_.backColor());
        for (const QRect& r : rest)
            painter.fillRect(r, back);
    }
}

void PictureBoxWidget::mousePressEvent(QMouseEvent* event) {
    releaseEndsDoubleClick_ = false;
    const QPoint p = event->position().toPoint();
    emit mousePressed(buttonCode(event->button()), shiftCode(event->modifiers()), p.x(), p.y());
}

void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseReleased(buttonCode(event->button()), shiftCode(event->modifiers()), p.x(), p.y());
    if (releaseEndsDoubleClick_) {
        releaseEndsDoubleClick_ = false;
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(p))
        emit clicked();
}

void PictureBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    releaseEndsDoubleClick_ = true;
    emit doubleClicked();
}

void PictureBoxWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(buttonsCode(event->buttons()), shiftCode(event->modifiers()), p.x(), p.y());
}

// A handler accepts the event to swallow the key; otherwise it goes on to the parent.
void PictureBoxWidget::keyPressEvent(QKeyEvent* event) {
    event->ignore();
    emit keyPressed(event);
}

void PictureBoxWidget::keyReleaseEvent(QKeyEvent* event) {
    event->ignore();
    emit keyReleased(event);
}

void PictureBoxWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit focusEntered();
}

void PictureBoxWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit focusLeft();
}

int PictureBoxWidget::buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int PictureBoxWidget::shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

std::vector<std::string> PictureBoxWidget::localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.push_back(fromQ(url.toLocalFile()));
    }
    return paths;
}

void PictureBoxWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (localFiles(event->mimeData()).empty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PictureBoxWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (localFiles(event->mimeData()).empty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PictureBoxWidget::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = localFiles(event->mimeData());
    if (paths.empty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(paths);
}

}  // namespace tess::qt
