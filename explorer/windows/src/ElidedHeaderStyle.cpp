#include "windows/ElidedHeaderStyle.h"

#include <QAbstractItemView>
#include <QStyleOptionHeader>

namespace tess::explorer {

void ElidedHeaderStyle::drawControl(ControlElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    if (element != CE_HeaderLabel || header == nullptr || view == nullptr ||
        view->textElideMode() == Qt::ElideNone) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    QStyleOptionHeader label = *header;
    label.text =
        header->fontMetrics.elidedText(header->text, view->textElideMode(), header->rect.width());
    QProxyStyle::drawControl(element, &label, painter, widget);
}

}  // namespace tess::explorer
