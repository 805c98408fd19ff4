#include "shell/ControlEvents.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/qt/PictureBoxWidget.h"

namespace tess {

namespace {

// Focus that goes to a pop-up menu or to another window comes back to the same control: the
// control is not left.
bool movesWithinWindow(const QFocusEvent* event) {
    return event->reason() != Qt::PopupFocusReason &&
           event->reason() != Qt::ActiveWindowFocusReason;
}

}  // namespace

ControlEvents::ControlEvents(QWidget* control) : QObject(control) {}

ControlEvents* ControlEvents::watch(QWidget* control, bool acceptFiles) {
    auto* events = new ControlEvents(control);
    events->acceptFiles_ = acceptFiles;
    control->installEventFilter(events);
    if (acceptFiles) {
        control->setAcceptDrops(true);
        // A text box gets its drags on the viewport.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
            area->viewport()->setAcceptDrops(true);
            area->viewport()->installEventFilter(events);
        }
    }
    return events;
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            if (!acceptFiles_)
                break;
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> paths = qt::PictureBoxWidget::localFiles(drop->mimeData());
            if (paths.empty())
                break;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (event->type() == QEvent::Drop)
                emit filesDropped(paths);
            return true;
        }
        case QEvent::FocusIn:
            if (watched == parent() && movesWithinWindow(static_cast<QFocusEvent*>(event)))
                emit focusEntered();
            break;
        case QEvent::FocusOut:
            if (watched == parent() && movesWithinWindow(static_cast<QFocusEvent*>(event)))
                emit focusLeft();
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            auto* control = qobject_cast<QWidget*>(watched);
            if (watched != parent() || !control)
                break;
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton && control->rect().contains(at))
                emit clicked();
            emit mouseReleased(qt::PictureBoxWidget::buttonCode(mouse->button()),
                               qt::PictureBoxWidget::shiftCode(mouse->modifiers()), at.x(), at.y());
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tess
