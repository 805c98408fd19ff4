#include "platform/qt/testing/LayoutCheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <algorithm>
#include <sstream>

namespace tess::qt::testing {

namespace {

QString shownText(QString text) {
    text.remove(QRegularExpression("&(?!&)"));
    return text.replace("&&", "&");
}

}  // namespace

bool isNamedControl(const QWidget* w) {
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith("qt_");
}

std::string clipping(const QWidget* w) {
    const QFontMetrics fm(w->font());
    std::ostringstream why;
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const QSize need =
            label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
        if (need.width() > w->width() || need.height() > w->height())
            why << "text needs " << need.width() << "x" << need.height();
    } else if (auto* check = qobject_cast<const QCheckBox*>(w)) {
        if (check->sizeHint().width() > w->width())
            why << "needs " << check->sizeHint().width();
    } else if (auto* radio = qobject_cast<const QRadioButton*>(w)) {
        if (radio->sizeHint().width() > w->width())
            why << "needs " << radio->sizeHint().width();
    } else if (auto* button = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const int room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        int need = fm.horizontalAdvance(shownText(button->text()));
        if (!button->icon().isNull())
            need += button->iconSize().width() + 4;
        if (need > room)
            why << "caption needs " << need << " of " << room;
    } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, fm.horizontalAdvance(combo->itemText(i)));
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QSize need = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                            QSize(widest, fm.height()), combo);
        if (need.width() > w->width())
            why << "entries need " << need.width();
    } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
        if (fm.horizontalAdvance(group->title()) + 16 > w->width())
            why << "title too long";
    }
    return why.str();
}

std::string layoutFaults(const QWidget& top, const std::function<bool(const QWidget*)>& isControl) {
    const auto counts = [&](const QWidget* w) {
        return isControl ? isControl(w) : isNamedControl(w);
    };
    std::ostringstream faults;
    for (const QWidget* w : top.findChildren<QWidget*>()) {
        if (!counts(w) || !w->isVisibleTo(&top) || w->isWindow())
            continue;
        const QWidget* parent = w->parentWidget();
        QRect inner = parent->rect();
        if (auto* group = qobject_cast<const QGroupBox*>(parent))
            inner = group->contentsRect();
        if (!inner.contains(w->geometry())) {
            faults << w->objectName().toStdString() << " leaves "
                   << parent->objectName().toStdString() << "\n";
        }
        const std::string clip = clipping(w);
        if (!clip.empty())
            faults << w->objectName().toStdString() << ": " << clip << "\n";
        for (const QObject* other : parent->children()) {
            auto* sibling = qobject_cast<const QWidget*>(other);
            if (!sibling || sibling <= w || !counts(sibling) || !sibling->isVisibleTo(&top))
                continue;
            if (w->geometry().intersects(sibling->geometry())) {
                faults << w->objectName().toStdString() << " overlaps "
                       << sibling->objectName().toStdString() << "\n";
            }
        }
    }
    return faults.str();
}

bool saveShot(QWidget& w, const QString& folder, const QString& name) {
    const QString fontSetup = qEnvironmentVariable("FONTCONFIG_FILE");
    const QDir dir(
        fontSetup.isEmpty() ? folder : QDir(folder).filePath(QFileInfo(fontSetup).dir().dirName()));
    return dir.mkpath(".") && w.grab().save(dir.filePath(name));
}

}  // namespace tess::qt::testing
