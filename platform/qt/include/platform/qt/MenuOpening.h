#pragma once

#include <QObject>
#include <functional>

class QMenu;
class QWidget;

namespace tess::qt {

// The opening handler of a menu that sets its items' states. On the desktop the programs were
// made for, an item's shortcut first delivers its menu's opening notice and acts only if the item
// is enabled then; Qt fires the shortcut without opening the menu, so it would act on the states
// of the menu's last opening. Connected here, the handler runs when the menu opens and before a
// shortcut of one of its own items acts.
class MenuOpening : public QObject {
    Q_OBJECT
  public:
    // `window` is the window whose key presses reach the menu's shortcuts. The connection lives as
    // long as the menu.
    static MenuOpening* connect(QWidget& window, QMenu& menu, std::function<void()> handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MenuOpening(QMenu& menu, std::function<void()> handler);

    QMenu& menu_;
    std::function<void()> handler_;
};

}  // namespace tess::qt
