#pragma once

#include <QKeySequence>
#include <QRect>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

// Makers of the controls the windows lay out in pixels: each names its control (the name tests
// and the layout check find it by) and places it. Buttons never become the default of their
// window by having the focus; a window says which one Enter presses.
namespace tess::qt {

template <class W>
W* placed(W* control, const char* name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// Plain text: a caption is never read as markup.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                        const QString& tip = {});
QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, QRect geometry,
                     const QString& tip = {});
QComboBox* makeCombo(QWidget* parent, const char* name, QRect geometry, const QString& tip = {});
QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& title, QRect geometry);
QLineEdit* makeEdit(QWidget* parent, const char* name, QRect geometry, const QString& tip = {});

// Menu items keep their names on the item, and a submenu's on its menu and on its item.
QAction* makeItem(QMenu* menu, const char* name, const QString& text,
                  const QKeySequence& shortcut = {});
QAction* makeSeparator(QMenu* menu, const char* name);
QMenu* makeSubmenu(QMenu* parent, const char* name, const QString& text);

// The caption for a window of fixed width whose title bar cannot hold all of it: cut at the end,
// "...", measured as the window's style lays out a title bar with its buttons, in the desktop's
// bold title font. A caption that fits comes back whole. Without this the desktop cuts it in the
// middle, where the words that say what the window is go missing.
QString fittedTitle(const QWidget& window, const QString& caption);

}  // namespace tess::qt
