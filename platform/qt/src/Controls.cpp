#include "platform/qt/Controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace tess::qt {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = placed(new QLabel(text, parent), name, geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                        const QString& tip) {
    auto* button = placed(new QPushButton(text, parent), name, geometry);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, QRect geometry,
                     const QString& tip) {
    auto* check = placed(new QCheckBox(text, parent), name, geometry);
    check->setToolTip(tip);
    return check;
}

QComboBox* makeCombo(QWidget* parent, const char* name, QRect geometry, const QString& tip) {
    auto* combo = placed(new QComboBox(parent), name, geometry);
    combo->setToolTip(tip);
    return combo;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    return placed(new QGroupBox(title, parent), name, geometry);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, QRect geometry, const QString& tip) {
    auto* edit = placed(new QLineEdit(parent), name, geometry);
    edit->setToolTip(tip);
    return edit;
}

QAction* makeItem(QMenu* menu, const char* name, const QString& text,
                  const QKeySequence& shortcut) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    return item;
}

QAction* makeSeparator(QMenu* menu, const char* name) {
    QAction* item = menu->addSeparator();
    item->setObjectName(name);
    return item;
}

QMenu* makeSubmenu(QMenu* parent, const char* name, const QString& text) {
    QMenu* menu = parent->addMenu(text);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QString fittedTitle(const QWidget& window, const QString& caption) {
    QStyleOptionTitleBar bar;
    bar.initFrom(&window);
    // Desktops give dialogs their minimize and maximize buttons too.
    bar.titleBarFlags = window.windowFlags() | Qt::WindowMinMaxButtonsHint;
    bar.subControls = QStyle::SC_All;
    bar.text = caption;
    const QStyle* style = window.style();
    bar.rect =
        QRect(0, 0, window.width(), style->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window));
    const int room =
        style->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, &window).width();
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).elidedText(caption, Qt::ElideRight, room);
}

}  // namespace tess::qt
