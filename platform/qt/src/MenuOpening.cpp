#include "platform/qt/MenuOpening.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace tess::qt {

MenuOpening::MenuOpening(QMenu& menu, std::function<void()> handler)
    : QObject(&menu), menu_(menu), handler_(std::move(handler)) {}

MenuOpening* MenuOpening::connect(QWidget& window, QMenu& menu, std::function<void()> handler) {
    auto* opening = new MenuOpening(menu, std::move(handler));
    QObject::connect(&menu, &QMenu::aboutToShow, opening, [opening] { opening->handler_(); });
    window.installEventFilter(opening);
    return opening;
}

bool MenuOpening::eventFilter(QObject*, QEvent* event) {
    // Qt asks the focused control whether it takes the key itself before it looks for a shortcut;
    // a key no control took reaches the window here, before the shortcut's state is read.
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const QAction* item : menu_.actions()) {
        for (const QKeySequence& shortcut : item->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch) {
                handler_();
                return false;
            }
        }
    }
    return false;
}

}  // namespace tess::qt
