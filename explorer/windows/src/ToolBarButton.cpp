#include "windows/ToolBarButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tess::explorer {

void ToolBarButton::setHideFocusRect(bool hide) {
    hideFocusRect_ = hide;
    update();
}

void ToolBarButton::paintEvent(QPaintEvent* event) {
    if (!hideFocusRect_) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButton, option);
}

}  // namespace tess::explorer
